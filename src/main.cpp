#include "gui/app/QuenzaApp.h"
#include "gui/ui/QtUserPrompt.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Quenzario");
    QtUserPrompt prompt;
    SetUserPrompt(&prompt);
    CQuenzaApp app;
    const int code = app.InitInstance(argc, argv);
    SetUserPrompt(nullptr);
    return code;
}
