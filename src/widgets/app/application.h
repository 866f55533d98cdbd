// Application-wide set-up shared by the program and its tests.
#pragma once

class QApplication;

// Names the application, removes the print job files that ended processes left
// behind, loads Qt's German texts for its standard buttons and dialogs, and maps
// the typefaces of the window designs to installed ones.
void setUpApplication(QApplication &app);
