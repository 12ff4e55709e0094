#include "gui/shell/searchviews.h"

#include "core/baskets/basketoperations.h"
#include "core/context/appcontext.h"
#include "gui/shell/screenhost.h"

namespace ferlin {

SearchViews SearchViewsOf(ScreenHost &host)
{
    SearchViews views;
    views.emptyBasketShown = [&host](int basket) {
        host.card()->basketOperations().EmptyBasket(basket);
    };
    views.publishCounts = [&host] { host.publishCounts(); };
    views.commandsEnabled = [&host](bool enabled) { host.setCommandsEnabled(enabled); };
    views.showDestinationBasket = [&host](int basket) {
        const CardState &card = host.context().state.card;
        host.card()->OpenCard(CardState::BasketMode, basket, card.count, card.position);
        host.basketList()->ShowBasketList(basket);
        host.show(Screen::BasketList);
    };
    return views;
}

} // namespace ferlin
