#include "core/db/dberror.h"
#include "core/db/recordset.h"
#include "core/db/schema.h"
#include "core/output/basketprint.h"
#include "core/platform/platformerror.h"
#include "fakes/fakelineprinter.h"
#include "support/tempbase.h"

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

const QString Hyphens = QStringLiteral("----------------");

// A basket 1 of references and a print job on it, printed through the fake printer.
struct BasketPrint : ::testing::Test {
    test::TempBase base;
    FakeLinePrinter printer;
    BasketPrintJob job;
    const QString table = Schema::basketTable(1);

    BasketPrint()
    {
        job.versionTitle = QStringLiteral("Ferlin version 4.0 15/04/2003");
        job.generalTitle = QStringLiteral("Optique au lycée");
        job.printedAt = QDateTime(QDate(2024, 3, 7), QTime(9, 5));
    }

    void add(int rang, int year, const QString &number, int page)
    {
        base.addReference(rang, year, number, page, table);
    }
    void setField(int rang, const QString &field, const QVariant &value)
    {
        base.db->executeBound(QStringLiteral("UPDATE [") + table + QStringLiteral("] SET [") +
                                  field + QStringLiteral("]=? WHERE Rang=?"),
                              {value, rang});
    }
    // The lines of a print of the basket, in the basket's order.
    QStringList print()
    {
        RecordSet set(*base.db, BasketPrintSource(1));
        job.count = set.recordCount();
        PrintBasket(job, set, printer);
        return printer.lines();
    }
    // The block of the only reference of the basket.
    QStringList onlyBlock()
    {
        RecordSet set(*base.db, BasketPrintSource(1));
        set.moveFirst();
        return ReferenceLines(set, job.fields);
    }
};

TEST(PrintWrapped, ShortTextIsOneLineAndEmptyTextNone)
{
    EXPECT_EQ(WrapForPrint(QStringLiteral("Titre : Les miroirs")),
              QStringList{QStringLiteral("Titre : Les miroirs")});
    EXPECT_TRUE(WrapForPrint(QString()).isEmpty());
}

TEST(PrintWrapped, LongSummaryBreaksAfterBreakCharactersAndLosesNothing)
{
    QString summary = QStringLiteral("Résumé : ");
    while (summary.size() < 300)
        summary += QStringLiteral("lumière réfléchie, ");
    summary.truncate(300);
    const QStringList lines = WrapForPrint(summary);
    ASSERT_GE(lines.size(), 3);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), PrintLineWidth);
        if (i + 1 < lines.size()) {
            EXPECT_TRUE(QStringLiteral(" .,;:?!-").contains(lines[i].back())) << i;
        }
    }
    EXPECT_EQ(lines.join(QString()), summary);
}

TEST(PrintWrapped, EachBreakCharacterEndsAFullLine)
{
    for (const QChar c : QStringLiteral(" .,;:?!-")) {
        const QString text = QString(100, u'a') + c + QString(30, u'b');
        EXPECT_EQ(WrapForPrint(text), (QStringList{QString(100, u'a') + c, QString(30, u'b')}))
            << QString(c).toStdString();
    }
}

TEST(PrintWrapped, PieceWithoutBreakCharacterIsCutAtFullWidth)
{
    const QString text = QString(112, u'x') + QString(50, u'y');
    const QStringList lines = WrapForPrint(text);
    EXPECT_EQ(lines, (QStringList{QString(112, u'x'), QString(50, u'y')}));
}

TEST(PrintWrapped, LineBreaksStartNewLines)
{
    EXPECT_EQ(WrapForPrint(QStringLiteral("Première partie.\r\nSeconde partie.")),
              (QStringList{QStringLiteral("Première partie."), QStringLiteral("Seconde partie.")}));
    // A lone line feed keeps the letter before it; a leading one prints an empty line.
    EXPECT_EQ(WrapForPrint(QStringLiteral("\nun\ndeux")),
              (QStringList{QString(), QStringLiteral("un"), QStringLiteral("deux")}));
}

TEST(PrintWrapped, FlatTurnsLineFeedsIntoSlashes)
{
    EXPECT_EQ(WrapFlatForPrint(QStringLiteral("     ET lentille\n miroir\n ")),
              QStringList{QStringLiteral("     ET lentille/ miroir/ ")});
}

TEST(PrintFields, TickAllTogglesTheFourteenFieldsOnly)
{
    PrintFieldSet fields;
    bool toggle = false;
    EXPECT_EQ(ToggleAllPrintFields(fields, toggle), QStringLiteral("Décocher tous les champs"));
    EXPECT_TRUE(toggle);
    for (int f = 0; f < PrintDataFieldCount; ++f)
        EXPECT_TRUE(fields.has(PrintField(f))) << f;
    EXPECT_FALSE(fields.has(PrintField::Criteria));
    EXPECT_FALSE(fields.has(PrintField::Numbering));

    fields.set(PrintField::Criteria, true);
    EXPECT_EQ(ToggleAllPrintFields(fields, toggle), QStringLiteral("Cocher tous les champs"));
    EXPECT_FALSE(toggle);
    EXPECT_FALSE(fields.has(PrintField::Title));
    EXPECT_TRUE(fields.has(PrintField::Criteria));
}

TEST(PrintFields, TableNamesCaptionsAndKeys)
{
    EXPECT_EQ(printFieldInfo(PrintField::Bulletin).boxName, QStringLiteral("Check_numéro"));
    EXPECT_EQ(printFieldInfo(PrintField::Bulletin).settingsKey, QStringLiteral("Prn_Numero"));
    EXPECT_EQ(printFieldInfo(PrintField::PageCount).caption, QStringLiteral("Nombres de pages"));
    EXPECT_EQ(printFieldInfo(PrintField::Numbering).settingsKey,
              QStringLiteral("Prn_Numerotation"));
}

TEST(PrintTypes, CaptionsAndOnlyCustomEnablesTheBoxes)
{
    EXPECT_EQ(printTypeCaption(PrintType::Standard), QStringLiteral("Impression standard"));
    EXPECT_EQ(printTypeCaption(PrintType::Custom), QStringLiteral("Impression  personnalisée"));
    EXPECT_EQ(printTypeCaption(PrintType::Bibliography),
              QStringLiteral("Impression \"bibliographie\""));
    EXPECT_EQ(printTypeCaption(PrintType::TitleList),
              QStringLiteral("Impression liste des titres"));
    EXPECT_FALSE(printFieldsEnabled(PrintType::Standard));
    EXPECT_TRUE(printFieldsEnabled(PrintType::Custom));
    EXPECT_FALSE(printFieldsEnabled(PrintType::Bibliography));
    EXPECT_FALSE(printFieldsEnabled(PrintType::TitleList));
}

TEST_F(BasketPrint, OneReferenceWithNoBoxTicked)
{
    add(7, 1985, QStringLiteral("512"), 123);
    const QStringList lines = print();
    const QStringList expected{
        QStringLiteral("Ferlin version 4.0 15/04/2003 - catalogue de références Ferlin - "
                       "07/03/24 09:05"),
        QStringLiteral(" "),
        QStringLiteral("Optique au lycée"),
        QString(),
        QStringLiteral(" 1 référence dans le panier."),
        QString(29, u'_'),
        QString(),
        QString(),
        Hyphens,
        QStringLiteral("Fin de la sélection."),
    };
    EXPECT_EQ(lines, expected);
    ASSERT_EQ(printer.documents().size(), 1);
    EXPECT_EQ(printer.documents()[0].fontFamily, QStringLiteral("Times New Roman"));
    EXPECT_EQ(printer.documents()[0].pointSize, 9.0);
    EXPECT_TRUE(printer.documents()[0].ended);
    EXPECT_TRUE(PrintCreditLine.startsWith(u' ') && PrintCreditLine.endsWith(u' '));
}

TEST_F(BasketPrint, EveryBoxTickedPrintsEveryField)
{
    add(7, 1985, QStringLiteral("512"), 123);
    setField(7, QStringLiteral("Mois"), QStringLiteral("janvier"));
    setField(7, QStringLiteral("Volume"), 85);
    setField(7, QStringLiteral("NombrePages"), 12);
    setField(7, QStringLiteral("Soustitre"), QStringLiteral("Une approche"));
    setField(7, QStringLiteral("Auteur"), QStringLiteral("Dupont\nDurand"));
    setField(7, QStringLiteral("Domaine"), QStringLiteral("optique"));
    setField(7, QStringLiteral("PointdeVue"), QStringLiteral("didactique"));
    setField(7, QStringLiteral("Niveaux"), QStringLiteral("lycée"));
    setField(7, QStringLiteral("MotsCles"), QStringLiteral("lentille\nmiroir"));
    setField(7, QStringLiteral("Resume"), QStringLiteral("Un résumé."));
    job.fields.setAllFields(true);
    const QStringList expected{
        QStringLiteral("Titre : Titre 7"),
        QStringLiteral("Sous-titre : Une approche"),
        QStringLiteral("Auteur(s) : Dupont/Durand"),
        QStringLiteral("Numéro : 512   janvier  1985, Volume  85, p. 123   Nombre de pages :  12"),
        QStringLiteral("Domaine(s) : optique"),
        QStringLiteral("Point(s) de vue : didactique"),
        QStringLiteral("Niveau(x) : lycée   "),
        QStringLiteral("Clés : lentille/miroir"),
        QStringLiteral("Résumé : Un résumé."),
        Hyphens,
    };
    EXPECT_EQ(onlyBlock(), expected);
}

TEST_F(BasketPrint, EmptyNumbersAreLeftOut)
{
    add(7, 0, QString(), 5);
    job.fields.setAllFields(true);
    EXPECT_EQ(onlyBlock().at(3), QStringLiteral(" p. 5   Nombre de pages : "));
}

TEST_F(BasketPrint, ReferencesInTheBasketsOrderAndPluralCount)
{
    add(1, 1990, QStringLiteral("10"), 4);
    add(2, 1995, QStringLiteral("30"), 1);
    add(3, 1995, QStringLiteral("30"), 9);
    job.fields.set(PrintField::Title, true);
    const QStringList lines = print();
    EXPECT_EQ(lines.at(4), QStringLiteral(" 3 références dans le panier."));
    QStringList titles;
    for (const QString &line : lines) {
        if (line.startsWith(QStringLiteral("Titre : ")))
            titles.append(line);
    }
    EXPECT_EQ(titles,
              (QStringList{QStringLiteral("Titre : Titre 3"), QStringLiteral("Titre : Titre 2"),
                           QStringLiteral("Titre : Titre 1")}));
    EXPECT_EQ(lines.back(), QStringLiteral("Fin de la sélection."));
}

TEST_F(BasketPrint, CriteriaBlock)
{
    add(1, 1990, QStringLiteral("10"), 4);
    job.fields.set(PrintField::Criteria, true);
    SelectionCriteria &c = job.criteria;
    c.keywords = true;
    job.keywordCaptions = {QStringLiteral("optique\n "), QStringLiteral("lentille\n miroir\n "),
                           QString(), QString()};
    c.years = true;
    c.yearFrom = QStringLiteral(" 1980 ");
    c.yearTo = QStringLiteral("2000");
    c.bulletin = true;
    c.bulletinNumber = QStringLiteral("512");
    c.level = true;
    c.levelText = QStringLiteral(" lycée ");
    c.pointOfView = true;
    c.pointOfViewText = QStringLiteral("historique");
    c.author = true;
    c.authorText = QStringLiteral("Dupont");
    c.domain = true;
    c.domainText = QStringLiteral("optique");
    c.freeText = true;
    c.freeTextValue = QStringLiteral("prisme");
    c.reference = true;
    c.referenceText = QStringLiteral("12");
    const QStringList heading = BasketHeadingLines(job);
    const QStringList expected{
        QStringLiteral("Critères de sélection :"),
        QStringLiteral("Mots clés : optique\n "),
        QStringLiteral("     ET lentille/ miroir/ "),
        QStringLiteral("     OU "),
        QStringLiteral("     SAUF "),
        QStringLiteral("Année(s) : > 1980 et < 2000"),
        QStringLiteral("Numéro :512"),
        QStringLiteral("Niveau : lycée "),
        QStringLiteral("Point(s) de vue : historique"),
        QStringLiteral("Auteur :Dupont"),
        QStringLiteral("Domaine : optique"),
        QStringLiteral("Texte libre : prisme"),
        QString(27, u'_'),
    };
    EXPECT_EQ(heading.mid(4, expected.size()), expected);
}

TEST_F(BasketPrint, EmptyBasketPrintsNothing)
{
    RecordSet set(*base.db, BasketPrintSource(1));
    job.count = 0;
    PrintBasket(job, set, printer);
    EXPECT_TRUE(printer.documents().isEmpty());
    EXPECT_EQ(EmptyBasketPrintMessage(2),
              QStringLiteral("Impression impossible : le panier 2 est vide"));
}

TEST_F(BasketPrint, PrinterErrorAbandonsOnlyTheCurrentReference)
{
    add(1, 1990, QStringLiteral("10"), 4);
    add(2, 1980, QStringLiteral("10"), 4);
    job.fields.set(PrintField::Title, true);
    printer.failAtLine(7); // the numbers line of the first reference
    RecordSet set(*base.db, BasketPrintSource(1));
    job.count = 2;
    const BasketPrintResult result = PrintBasket(job, set, printer);
    EXPECT_EQ(result.printed, 1);
    EXPECT_EQ(result.failed, 1);
    const QStringList lines = printer.lines();
    EXPECT_EQ(lines.mid(6),
              (QStringList{QStringLiteral("Titre : Titre 1"), QStringLiteral("Titre : Titre 2"),
                           QString(), QString(), Hyphens, QStringLiteral("Fin de la sélection.")}));
}

TEST_F(BasketPrint, AnErrorOnThreeReferencesInARowEndsThePrint)
{
    for (int rang = 1; rang <= 4; ++rang) {
        add(rang, 1990, QStringLiteral("10"), rang);
        setField(rang, QStringLiteral("Volume"), QStringLiteral("vol. %1").arg(rang));
    }
    job.fields.set(PrintField::Volume, true);
    EXPECT_THROW(print(), DbError);
    ASSERT_EQ(printer.documents().size(), 1);
    EXPECT_FALSE(printer.documents()[0].ended);
}

TEST_F(BasketPrint, NoPrinterEndsThePrint)
{
    add(1, 1990, QStringLiteral("10"), 4);
    printer.setHasDefaultPrinter(false);
    EXPECT_THROW(print(), PlatformError);
    EXPECT_TRUE(printer.documents().isEmpty());
}

} // namespace

TEST_F(BasketPrint, ALongFirstKeywordOrFreeTextIsWrappedNotCut)
{
    add(1, 1990, QStringLiteral("10"), 4);
    job.fields.set(PrintField::Criteria, true);
    job.criteria.keywords = true;
    job.criteria.freeText = true;
    const QString keyword = QStringLiteral("électromagnétisme ").repeated(8).trimmed();
    const QString free = QStringLiteral("onde lumineuse ").repeated(10).trimmed();
    job.keywordCaptions = {keyword, QString(), QString(), QString()};
    job.criteria.freeTextValue = free;
    const QStringList heading = BasketHeadingLines(job);
    QString printed;
    for (const QString &line : heading) {
        EXPECT_LE(line.size(), 112) << line.toStdString();
        printed += line;
    }
    EXPECT_TRUE(printed.contains(QStringLiteral("Mots clés : ") + keyword));
    EXPECT_TRUE(printed.contains(QStringLiteral("Texte libre : ") + free));
}
