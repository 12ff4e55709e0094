#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace ferlin {

class Database;
class RecordSet;

// The small lookup tables read into pick lists at start-up, in the order they are loaded.
enum class LookupList { SeeAlso, Keywords, Authors, PointsOfView, Domains };
inline constexpr std::array<LookupList, 5> LookupLoadOrder = {
    LookupList::SeeAlso, LookupList::Keywords, LookupList::Authors, LookupList::PointsOfView,
    LookupList::Domains};

QString lookupTable(LookupList list);
QString lookupField(LookupList list);

// The values of a lookup table in the table's own row order. A NULL value is an error (94).
QStringList ReadLookupList(Database &db, LookupList list);

// Rows of a freshly loaded set: 0 when it stands at its end at once, else the count after
// moving to the last row.
int CountRows(RecordSet &set);
// Rows of the whole base: moves to the last row without that test, so an empty base fails (3021).
int BaseCount(RecordSet &articles);
// Rows of basket n, read through a set opened on its table.
int CountBasket(Database &db, int basket);

// The reference counts of the three baskets, indexed by basket number 1 to 3.
class BasketCounts {
public:
    int &operator[](int basket) { return m_counts.at(size_t(basket - 1)); }
    int operator[](int basket) const { return m_counts.at(size_t(basket - 1)); }

private:
    std::array<int, 3> m_counts{};
};

// One row of TEtatbase: the fill colours (red in the low byte) of one period's three blocks.
struct StateBandColours {
    quint32 referenced = 0; // E_Titre, band "Articles référencés"
    quint32 indexed = 0;    // E_Auteur, band "Articles indexés"
    quint32 fullText = 0;   // E_Clef, band "Textes intégraux"
};
inline constexpr int StateBandBlocks = 9;
// The rows of TEtatbase in table order; a tenth row is an error (9).
std::vector<StateBandColours> ReadStateBands(Database &db);

// MajDate of the first row of a set just loaded from TArticles (standing on it); a null date when
// the field is empty or zero.
QDate UpdateDate(const RecordSet &articles);
// The date as "dd/mm/yyyy".
QString formatUpdateDate(const QDate &date);

} // namespace ferlin
