#pragma once

#include "core/db/keyset.h"
#include "core/db/recordset.h"
#include "core/record/goto.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace ferlin {

class BusyPointer;
class MessageBox;
struct Catalogue;
struct RunState;

// What the record card browses: the one record set of the card (the whole base, a basket in its
// order, or a search's result) with its state in the run state (mode, position, count, where
// browsing the base resumes). The record card shows it and forwards commands; the basket list,
// the search, the basket operations, the print and the start-up ask it; nothing else holds or
// moves the card's set.
class CardBrowser {
public:
    CardBrowser(Catalogue &catalogue, RunState &state);
    ~CardBrowser();

    // The card's set; nullptr before the base is open. Read it, never move it.
    const RecordSet *set() const;
    bool isOpen() const { return set() != nullptr; }
    // The basket whose ordered set the card holds as the basket stands, 0 for the whole base,
    // another set, or a basket written to since its set was read.
    int basket() const;

    // The whole base ("SELECT * FROM TArticles") standing on `position`: mode 1, the base's
    // count; browsing the base resumes there.
    void openBase(int position);
    // Basket n in its order, read again, standing on its first row: mode 2 with the basket's
    // count.
    void openBasket(int basket);
    // Basket n standing on row r (1-based), opened first when the card holds another set.
    // False, moving nothing, when the basket has no such row.
    bool showBasketRow(int basket, int row);
    // Another set: a table read at start-up, standing on its first row. The mode stays.
    const RecordSet &open(const QString &source);
    // A search's result, standing on its last row (where counting it leaves it).
    const RecordSet &openResult(const QString &statement);
    // The same with the statement's row identities read already (search/keysetreader.h).
    const RecordSet &openResult(const QString &statement, std::optional<Keyset> keys);
    // Reads the set again, standing on its first row.
    void requery();
    // The start-up's count of the base on the set just loaded from the catalogue (BaseCount).
    int countBase();

    // The moves of the card; false when the card could not move.
    bool moveFirst();
    bool movePrevious();
    bool moveNext();
    bool moveLast();
    // "Aller" of the go-to panel (the whole base).
    GoToResult runGoTo(const GoToRequest &request, MessageBox &messages, BusyPointer &pointer);

    bool hasCurrent() const { return set() && set()->hasCurrent(); }
    // The fields of the current reference by name, as texts; empty when there is none.
    QHash<QString, QString> currentValues() const;
    // Deletes the current reference from the set's basket and reads the set again; DbError 3011
    // for a set that is not a basket's.
    void deleteCurrent();
    // Stands on a 1-based row of the set (the last row for one past it), the state unchanged.
    void standOn(int position);
    // A reader of some fields of the set's rows, in its order as it stands now, that never moves
    // the card; nullptr before the base is open.
    std::unique_ptr<RowReader> rowReader(const QStringList &fields) const;

private:
    RecordSet &requireSet() const;
    RecordSet *mutableSet() const;
    void take(std::unique_ptr<RecordSet> set, int basket);

    Catalogue &m_catalogue;
    RunState &m_state;
    const RecordSet *m_basketSet = nullptr; // the set opened for m_basket
    int m_basket = 0;
    quint64 m_basketGeneration = 0; // the basket's generation when its set was read
};

} // namespace ferlin
