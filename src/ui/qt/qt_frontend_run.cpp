#include "ui/qt/qt_frontend_run.h"

#include <QApplication>
#include <string>

#include "afx/winapp.h"
#include "ui/qt/fixed_size_windows.h"
#include "ui/qt/qt_frontend.h"

namespace ui::qt {

int RunApplication(const char* argv0, DisplayChoice display)
{
    // Qt sees the program's name and the platform that was found to work, nothing the user
    // typed: the program takes nothing from its command line.
    std::string name = argv0 ? argv0 : "vellix";
    std::string option = "-platform";
    std::string chosen = display.platform;
    int argc = 3;
    char* argv[] = {name.data(), option.data(), chosen.data(), nullptr};
    QApplication app(argc, argv);
    // Qt is connected now and has its fonts; what the check held for it has done its work.
    display.serverHeld.reset();
    display.fontsLoading.reset();
    // The program ends when its dialog ends, not when Qt sees its last window go.
    QApplication::setQuitOnLastWindowClosed(false);
    FixedSizeWindows fixedSize;
    app.installEventFilter(&fixedSize);
    QtFrontend frontend;
    afx::Frontend* previous = afx::CurrentFrontend();
    afx::InstallFrontend(&frontend);
    int result = AfxWinMain();
    afx::InstallFrontend(previous);
    return result;
}

}  // namespace ui::qt
