#include "core/record/cardstate.h"

namespace ferlin {

QString rankLineText(int mode, int position, int count)
{
    QString prefix;
    if (mode == CardState::BaseMode)
        prefix = QStringLiteral(" Référence (Base) : ");
    else if (mode == CardState::BasketMode)
        prefix = QStringLiteral(" Référence (Sélection) : ");
    return prefix + QString::number(count - position + 1) + QStringLiteral(" / ") +
           QString::number(count);
}

MoveButtons moveButtonsFor(int position, int count)
{
    if (count <= 1)
        return {};
    if (position <= 1)
        return {false, false, true, true};
    if (position >= count)
        return {true, true, false, false};
    return {true, true, true, true};
}

} // namespace ferlin
