// Opens the vendor's home page in the desktop's default browser.
#pragma once

// Shows the wait cursor only while the desktop is asked to open the page;
// whether that works is not reported.
void OpenVendorSite();
