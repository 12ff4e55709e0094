#include "core/baskets/transfer.h"

#include "core/baskets/basketstore.h"
#include "core/context/appcontext.h"
#include "core/context/linebreak.h"
#include "core/db/schema.h"

namespace ferlin {

BasketTransfer::BasketTransfer(AppContext &context, std::function<void()> publishCounts)
    : m_context(context), m_publishCounts(std::move(publishCounts))
{
}

void BasketTransfer::reportEmptySource()
{
    m_context.platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok,
                                       QStringLiteral("Le panier source est vide ! "),
                                       QStringLiteral("Transfert impossible"));
}

void BasketTransfer::reportError(int number, const QString &description)
{
    m_context.platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok,
                                       QStringLiteral("Erreur ") + u' ' + QString::number(number) +
                                           LineBreak + description,
                                       QStringLiteral("Erreur de transfert"));
}

int BasketTransfer::copyRows(RecordSet &from, int destination)
{
    BusyPointerGuard busy(m_context.platform.busyPointer);
    // A reference the destination already holds is skipped; a copy cut short leaves the
    // destination as it was.
    return BasketStore(*m_context.catalogue.db).addSet(destination, from);
}

bool BasketTransfer::TransferBasket(int source, int destination, TransferMode mode)
{
    BasketCounts &counts = m_context.state.basketCounts;
    MessageBox &messages = m_context.platform.messageBox;
    try {
        if (!m_context.catalogue.db)
            throw DbError(DbErrorCode::ObjectNotFound,
                          QStringLiteral("La base de données n'est pas ouverte."));
        Database &db = *m_context.catalogue.db;
        RecordSet from(db, Schema::basketTable(source));
        if (mode == TransferMode::Replace) {
            if (messages.show(MessageIcon::None, MessageButtons::YesNo,
                              QStringLiteral("Le panier n° ") + QString::number(destination) +
                                  QStringLiteral(" va être vidé. \r\nEtes-vous d'accord ?"),
                              QString()) != MessageAnswer::Yes)
                return true;
            // Every row goes, a reference without a title included, so that the count of 0 is
            // true. The emptying is stored at once, before the copy.
            BasketStore(db).empty(destination);
            counts[destination] = 0;
            m_publishCounts();
            if (from.recordCount() == 0) {
                reportEmptySource();
                return false;
            }
            counts[destination] = copyRows(from, destination);
        } else {
            if (from.recordCount() == 0) {
                reportEmptySource();
                return false;
            }
            const int added = copyRows(from, destination);
            messages.show(MessageIcon::None, MessageButtons::Ok,
                          QString::number(added) +
                              QStringLiteral(" références ajoutées au panier ") +
                              QString::number(destination),
                          QString());
            counts[destination] += added;
        }
        m_publishCounts();
    } catch (const DbError &error) {
        // The copy was rolled back: the counts, left as they were, match the tables.
        reportError(error.number(), error.description());
    }
    return true;
}

} // namespace ferlin
