// Start procedure: the application object, the data root, then the main window.
#include <QApplication>
#include <QMainWindow>

#include "core/BlankDatabase.h"
#include "core/DataRoot.h"
#include "platform/db/Database.h"
#include "platform/ui/MessageBox.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    core::DataRoot::Resolve(QApplication::arguments());

    std::unique_ptr<db::Database> database;
    try {
        core::EnsureDatabase(core::DataRoot::DatabasePath());
        database = db::Database::Open(core::DataRoot::DatabasePath(), QStringLiteral("Contacts"));
    } catch (const db::DbError& e) {
        ui::MsgBox(e.description(), ui::OKOnly | ui::Critical, QStringLiteral("Pomaret - Contact Manager"));
        return 1;
    }

    // The main window with its menus and screens replaces this frame.
    QMainWindow window;
    window.setObjectName(QStringLiteral("frmMain"));
    window.setWindowTitle(QStringLiteral("Pomaret - Contact Management System"));
    window.resize(800, 600);
    window.show();
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    return QApplication::exec();
}
