// The program's ordered start-up and shutdown: steps that prepare process-wide state before the
// main window exists and release it after the main window is gone, run from the program block.
#pragma once

#include <string>
#include <vector>

// Places in the start-up order; shutdown runs the started steps in reverse.
enum class TStartupOrder {
    SkinCacheInfo = 100,   // the empty cache record, the no-colour value, the scroll-arrow width
    SkinCommand = 200,     // the skin command message
    DateUtilities = 250,   // the four-digit-year flag of the short date format
    JpegFormats = 300,     // "jpeg" and "jpg" in the picture registry
    MenuCache = 350,       // the cached background of popup menus (released only)
    DialogRegion = 400,    // the fixed region of one kind of standard dialog
    ProgramIcons = 500,    // the program's large and small icons
    UxTheme = 600,         // the optional SetWindowTheme entry
    ShellFolders = 610,    // the desktop shell folder and OLE
    LibraryBitmaps = 620,  // the skin library's resource bitmaps
    FontGlyphs = 630,      // the font-type glyphs
    PixelAccess = 700,     // the shared pixel-access objects
    WindowsFamily = 800,   // the test for the NT family
    PngFormat = 900,       // "PNG" in the picture registry
};

class TStartup {
public:
    using TStep = void (*)();

    TStartup() = default;
    // Finishes whatever was started and not yet finished.
    ~TStartup();
    TStartup(const TStartup&) = delete;
    TStartup& operator=(const TStartup&) = delete;

    // Steps of one place run in the order they were added; either function may be null.
    void Add(TStartupOrder order, const std::wstring& name, TStep start, TStep finish);
    // Runs every start step in order. When one raises, the steps already started are finished
    // (in reverse) and the exception passes on.
    void Start();
    // Runs the finish steps of the started steps in reverse order, once.
    void Finish();
    bool Started() const { return started_ > 0; }
    // The names in the order Start runs them (for the program's diagnostics and tests).
    std::vector<std::wstring> Names() const;

private:
    struct Step {
        TStartupOrder order;
        std::wstring name;
        TStep start;
        TStep finish;
    };
    std::vector<Step> Ordered() const;

    std::vector<Step> steps_;
    std::vector<Step> running_; // the order Start used
    std::size_t started_ = 0;
};
