#include "core/context/appcontext.h"

#include "core/record/cardbrowser.h"

namespace ferlin {

AppContext::AppContext(QString path, Platform &services)
    : databasePath(std::move(path)), platform(services),
      m_card(std::make_unique<CardBrowser>(catalogue, state)), card(*m_card)
{
}

AppContext::~AppContext() = default;

} // namespace ferlin
