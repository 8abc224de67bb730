#include "ui/qt/qt_frontend_run.h"

#include <QApplication>
#include <string>

#include "afx/winapp.h"
#include "ui/qt/qt_frontend.h"

namespace ui::qt {

int RunApplication(const char* argv0)
{
    // Qt sees the program's name only: the program takes nothing from its command line.
    std::string name = argv0 ? argv0 : "vellix";
    int argc = 1;
    char* argv[] = {name.data(), nullptr};
    QApplication app(argc, argv);
    // The program ends when its dialog ends, not when Qt sees its last window go.
    QApplication::setQuitOnLastWindowClosed(false);
    QtFrontend frontend;
    afx::Frontend* previous = afx::CurrentFrontend();
    afx::InstallFrontend(&frontend);
    int result = AfxWinMain();
    afx::InstallFrontend(previous);
    return result;
}

}  // namespace ui::qt
