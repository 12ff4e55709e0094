#pragma once

#include <QString>

#include <functional>

namespace ferlin {

struct AppContext;
class RecordSet;

// How the references of the source basket reach the destination basket.
enum class TransferMode {
    Add,    // "Ajouter": they join what the destination holds
    Replace // "Remplacer": the destination is emptied first, after confirmation
};

// Copying every reference of one basket into another (form F_Transferts). Rows are copied
// column by column by position, in the source's order; a reference the destination already
// holds is skipped. The copy is one database transaction: it lands whole or not at all, so the
// in-memory counts always match the tables.
class BasketTransfer {
public:
    BasketTransfer(AppContext &context, std::function<void()> publishCounts);

    // Copies basket `source` into basket `destination` (two different baskets, 1 to 3).
    // Returns whether the dialog should close: false only after "Le panier source est vide ! ",
    // true after a transfer, a refused replacement or a reported failure.
    bool TransferBasket(int source, int destination, TransferMode mode);

private:
    // Copies every row of `from` into basket `destination` in one transaction; returns the rows
    // stored (duplicates are not).
    int copyRows(RecordSet &from, int destination);
    void reportEmptySource();
    void reportError(int number, const QString &description);

    AppContext &m_context;
    std::function<void()> m_publishCounts;
};

} // namespace ferlin
