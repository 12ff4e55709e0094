#pragma once

#include "core/db/database.h"
#include "core/db/schema.h"

#include <QTemporaryDir>

#include <memory>

namespace ferlin::test {

// An empty catalogue base with every table, in its own temporary folder.
struct TempBase {
    QTemporaryDir dir;
    QString path = dir.filePath(QString::fromLatin1(Database::FileName));
    std::unique_ptr<Database> db;

    TempBase()
    {
        db = Database::create(path);
        Schema::create(*db);
    }

    // Adds a reference with the given number, year, bulletin and page; other fields NULL.
    void addReference(int rang, int year, const QString &number, int page,
                      const QString &table = Schema::Articles)
    {
        db->executeBound(QStringLiteral("INSERT INTO [") + table +
                             QStringLiteral("] (Rang, An, Numéro, Page, Titre) VALUES (?,?,?,?,?)"),
                         {rang, year, number, page, QStringLiteral("Titre %1").arg(rang)});
    }
};

} // namespace ferlin::test
