#include "baskets/basketoperations.h"

#include "app/appcontext.h"
#include "db/schema.h"

namespace ferlin {

BasketOperations::BasketOperations(AppContext &context, BasketViews &views)
    : m_context(context), m_views(views)
{
}

void BasketOperations::reportError(int number, const QString &description)
{
    m_context.platform.busyPointer.restore();
    m_context.platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok,
                                       QStringLiteral(" Erreur  ") + QString::number(number) +
                                           QStringLiteral("\r\n") + description,
                                       QStringLiteral("Rapport d'erreur"));
}

bool BasketOperations::AddToBasket(int basket)
{
    Catalogue &catalogue = m_context.catalogue;
    try {
        if (!catalogue.card)
            throw DbError(DbErrorCode::NoCurrentRecord,
                          QStringLiteral("Aucun enregistrement en cours."));
        RecordSet target(*catalogue.db, Schema::basketTable(basket));
        target.addNew();
        try {
            for (int i = 0; i < target.fieldCount(); ++i)
                target.setValue(i, catalogue.card->value(i));
            target.update();
        } catch (const DbError &) {
            target.cancelUpdate();
            throw;
        }
        m_context.state.basketCounts[basket] += 1;
        m_views.publishBasketCounts();
        return true;
    } catch (const DbError &error) {
        if (error.number() == DbErrorCode::DuplicateKey) {
            m_context.platform.busyPointer.restore();
            m_context.platform.messageBox.show(
                MessageIcon::Exclamation, MessageButtons::Ok,
                QStringLiteral("Référence déjà dans le panier destinataire."),
                QStringLiteral("Doublon"));
        } else {
            reportError(error.number(), error.description());
        }
        return false;
    }
}

void BasketOperations::RemoveFromBasket()
{
    RunState &state = m_context.state;
    MessageBox &messages = m_context.platform.messageBox;
    const int basket = state.currentBasket;
    if (messages.show(
            MessageIcon::Question, MessageButtons::YesNo,
            QStringLiteral("Voulez-vous vraiment supprimer cette référence du panier n° ") +
                QString::number(basket) + QStringLiteral(" ?"),
            QStringLiteral(" ")) != MessageAnswer::Yes)
        return;
    if (state.card.count == 0) {
        messages.show(MessageIcon::Exclamation, MessageButtons::Ok,
                      QStringLiteral("Le panier ") + QString::number(basket) +
                          QStringLiteral(" est déjà vide"));
        return;
    }
    RecordSet *card = m_context.catalogue.card.get();
    if (!card || !card->hasCurrent())
        return;
    try {
        card->deleteCurrent();
        card->requery();
        const int count = state.basketCounts[basket] - 1;
        state.basketCounts[basket] = count;
        state.card.count = count;
        if (count > 0) {
            card->moveFirst();
            if (count < state.card.position)
                state.card.position -= 1;
            card->move(state.card.position - 1);
        }
        m_views.updateRankLine(CardState::BasketMode, state.card.position, count);
        m_views.publishBasketCounts();
        if (count == 0)
            m_views.bringIntroToFront();
    } catch (const DbError &error) {
        reportError(error.number(), error.description());
    }
}

void BasketOperations::EmptyBasket(int basket)
{
    try {
        // Every row goes, a reference without a title included, so that the count of 0 is true.
        m_context.catalogue.db->execute(QStringLiteral("DELETE FROM [") +
                                        Schema::basketTable(basket) + u']');
    } catch (const DbError &error) {
        reportError(error.number(), error.description());
        return;
    }
    m_context.state.basketCounts[basket] = 0;
    // The record card browsing that basket no longer holds the rows just deleted.
    RunState &state = m_context.state;
    if (state.card.mode == CardState::BasketMode && state.currentBasket == basket) {
        state.card.count = 0;
        if (RecordSet *card = m_context.catalogue.card.get()) {
            try {
                card->requery();
            } catch (const DbError &) {
                // The card shows nothing either way.
            }
        }
    }
    m_views.showEmptyBasketCard(basket);
    if (basket == 3)
        m_views.showEmptyBasketCard(0);
    m_views.publishBasketCounts();
}

} // namespace ferlin
