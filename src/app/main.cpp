#include "app/application.h"
#include "db/catalog.h"
#include "db/database.h"
#include "db/recordset.h"
#include "db/schema.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ferlin::installFrenchTranslations(app);
    try {
        auto db = ferlin::Database::open(ferlin::Database::defaultPath());
        ferlin::RecordSet articles(*db, ferlin::Schema::Articles);
        QMessageBox::information(nullptr, QStringLiteral("Ferlin 4"),
                                 QStringLiteral("La base contient %1 références")
                                     .arg(ferlin::BaseCount(articles)));
    } catch (const ferlin::DbError &e) {
        QMessageBox::warning(nullptr, QStringLiteral("Ouverture avortée"),
                             QStringLiteral(" Erreur %1\r\n%2").arg(e.number()).arg(e.description()));
        return 1;
    }
    return 0;
}
