// What fontconfig's installed and application font sets were when an index was
// made from them, so that the index is made again once the configuration or
// either set is another. It holds a reference to the configuration, so no
// other can come to live at the same address while it is remembered.
#pragma once

#include <fontconfig/fontconfig.h>

class FontSetsSeen
{
public:
    FontSetsSeen() = default;
    FontSetsSeen(const FontSetsSeen &) = delete;
    FontSetsSeen &operator=(const FontSetsSeen &) = delete;
    ~FontSetsSeen() { forget(); }

    // Whether `config`'s font sets are others than those last seen; if so,
    // remembers them.
    bool changed(FcConfig *config)
    {
        const FcFontSet *system = FcConfigGetFonts(config, FcSetSystem);
        const FcFontSet *application = FcConfigGetFonts(config, FcSetApplication);
        const int systemCount = system ? system->nfont : 0;
        const int applicationCount = application ? application->nfont : 0;
        if (config == m_config && system == m_system && application == m_application && systemCount == m_systemCount
            && applicationCount == m_applicationCount)
            return false;
        forget();
        m_config = FcConfigReference(config);
        m_system = system;
        m_application = application;
        m_systemCount = systemCount;
        m_applicationCount = applicationCount;
        return true;
    }

private:
    void forget()
    {
        if (m_config)
            FcConfigDestroy(m_config);
        m_config = nullptr;
    }

    FcConfig *m_config = nullptr;
    const FcFontSet *m_system = nullptr;
    const FcFontSet *m_application = nullptr;
    int m_systemCount = 0;
    int m_applicationCount = 0;
};
