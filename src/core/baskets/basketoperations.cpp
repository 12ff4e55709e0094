#include "core/baskets/basketoperations.h"

#include "core/baskets/basketstore.h"
#include "core/context/appcontext.h"
#include "core/context/linebreak.h"
#include "core/db/schema.h"
#include "core/record/cardbrowser.h"

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
                                           LineBreak + description,
                                       QStringLiteral("Rapport d'erreur"));
}

bool BasketOperations::AddToBasket(int basket)
{
    try {
        const RecordSet *card = m_context.card.set();
        if (!card)
            throw DbError(DbErrorCode::NoCurrentRecord,
                          QStringLiteral("Aucun enregistrement en cours."));
        BasketStore(*m_context.catalogue.db).addRow(basket, *card);
        m_context.state.basketCounts[basket] += 1;
        m_views.publishCounts();
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
    CardBrowser &card = m_context.card;
    if (!card.hasCurrent())
        return;
    try {
        card.deleteCurrent();
        const int count = state.basketCounts[basket] - 1;
        state.basketCounts[basket] = count;
        state.card.count = count;
        if (count > 0) {
            if (count < state.card.position)
                state.card.position -= 1;
            card.standOn(state.card.position);
        }
        m_views.rankLineChanged(CardState::BasketMode, state.card.position, count);
        m_views.publishCounts();
        if (count == 0)
            m_views.bringIntroToFront();
    } catch (const DbError &error) {
        reportError(error.number(), error.description());
    }
}

void BasketOperations::EmptyBasket(int basket)
{
    try {
        BasketStore(*m_context.catalogue.db).empty(basket);
    } catch (const DbError &error) {
        reportError(error.number(), error.description());
        return;
    }
    m_context.state.basketCounts[basket] = 0;
    // The record card browsing that basket no longer holds the rows just deleted.
    RunState &state = m_context.state;
    if (state.card.mode == CardState::BasketMode && state.currentBasket == basket) {
        state.card.count = 0;
        if (m_context.card.isOpen()) {
            try {
                m_context.card.requery();
            } catch (const DbError &) {
                // The card shows nothing either way.
            }
        }
    }
    m_views.basketShownEmpty(basket);
    if (basket == 3)
        m_views.basketShownEmpty(0);
    m_views.publishCounts();
}

} // namespace ferlin
