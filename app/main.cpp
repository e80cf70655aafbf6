#include "frmJabbly.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orvel Tamsin"));
    QApplication::setApplicationName(QStringLiteral("Jabbly"));

    jabbly::frmJabbly window(jabbly::frmJabbly::Setup::forThisProgram(app.arguments().mid(1)));
    if (!window.Form_Load())
        return 0;
    window.show();
    return QApplication::exec();
}
