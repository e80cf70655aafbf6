#include "frmJabbly.h"

#include <QApplication>
#include <QMessageBox>

#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orvel Tamsin"));
    QApplication::setApplicationName(QStringLiteral("Jabbly"));

    std::unique_ptr<jabbly::frmJabbly> window;
    try {
        window = std::make_unique<jabbly::frmJabbly>(jabbly::frmJabbly::Setup::forThisProgram(app.arguments().mid(1)));
    } catch (const jabbly::Error &error) {
        // A component library is missing or broken: nothing can run, nothing was touched.
        QMessageBox::critical(nullptr, QStringLiteral("Jabbly Cannot Start"),
                              QStringLiteral("Jabbly cannot start: %1 (error %2).  Please install Jabbly again.")
                                  .arg(error.message())
                                  .arg(error.number()));
        return 1;
    }
    if (!window->Form_Load())
        return 0;
    window->show();
    return QApplication::exec();
}
