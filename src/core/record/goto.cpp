#include "core/record/goto.h"

#include "core/context/linebreak.h"
#include "core/db/dberror.h"
#include "core/db/jetdialect.h"
#include "core/db/recordset.h"
#include "core/platform/busypointer.h"
#include "core/platform/messagebox.h"

#include <QRegularExpression>

#include <cmath>

namespace ferlin {

namespace {

// The conversion errors of "Aller", numbered as the original language numbered them.
constexpr int TypeMismatch = 13;
constexpr int Overflow = 6;

// A failed conversion of a typed value: it ends "Aller" through the error rule.
struct ConversionError {
    int number;
    QString description;
};

ConversionError typeMismatch()
{
    return {TypeMismatch, QStringLiteral("Incompatibilité de type")};
}

ConversionError overflow()
{
    return {Overflow, QStringLiteral("Dépassement de capacité")};
}

// A number as the user may type it: an optional sign, digits, and decimals after "." or ",".
bool looksNumeric(const QString &trimmed)
{
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(?:[0-9]+(?:[.,][0-9]*)?|[.,][0-9]+)$"));
    return number.match(trimmed).hasMatch();
}

// Converts a trimmed text to a number; ConversionError 13 when it is not one, 6 when it is too
// large for a double.
double toNumber(const QString &trimmed)
{
    if (!looksNumeric(trimmed))
        throw typeMismatch();
    QString text = trimmed;
    text.replace(u',', u'.');
    const double value = text.toDouble();
    if (!std::isfinite(value))
        throw overflow();
    return value;
}

// Rounds to the nearest integer, a half going to the even one.
double roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double rest = value - floor;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(floor, 2.0) != 0.0))
        return floor + 1.0;
    return floor;
}

// A 16-bit integer from a trimmed text, a fraction going to the nearest integer (a half to the
// even one); ConversionError 13 for a text that is not a number, 6 outside -32768..32767.
int toInteger16(const QString &trimmed)
{
    const double value = roundHalfEven(toNumber(trimmed));
    if (value < -32768.0 || value > 32767.0)
        throw overflow();
    return int(value);
}

// Whether a text reads as a number, blanks around it allowed.
bool isNumeric(const QString &text)
{
    return looksNumeric(text.trimmed());
}

QString quoted(const QString &value)
{
    return quoteSqlText(value, u'\'');
}

const QString ErrorTitle = QStringLiteral(" Erreur");
const QString NavigationTitle = QStringLiteral(" Navigation");

// One run of "Aller". Each option returns false when one of its steps says stop.
class Aller {
public:
    Aller(const GoToRequest &request, RecordSet &card, CardState &state, int &basePosition,
          MessageBox &messages, BusyPointer &pointer)
        : m_request(request), m_card(card), m_state(state), m_basePosition(basePosition),
          m_messages(messages), m_pointer(pointer)
    {
        m_result.year = request.year;
        m_result.bulletin = request.bulletin;
        m_result.page = request.page;
        m_result.reference = request.reference;
    }

    GoToResult run()
    {
        try {
            bool completed = true;
            switch (m_request.option) {
            case GoToRequest::Year:
                completed = goToYear();
                break;
            case GoToRequest::Bulletin:
                completed = goToBulletin();
                break;
            case GoToRequest::Reference:
                completed = goToReference();
                break;
            default:
                break;
            }
            if (!completed)
                return m_result;
        } catch (const ConversionError &e) {
            if (e.number == TypeMismatch)
                typeError();
            else
                fail(e.number, e.description);
            return m_result;
        } catch (const DbError &e) {
            fail(e.number(), e.description());
            return m_result;
        }
        m_pointer.restore();
        m_result.closePanel = true;
        return m_result;
    }

private:
    bool goToYear()
    {
        const QString text = m_request.year.trimmed();
        if (text.isEmpty())
            return stop(QStringLiteral(" Vous n'avez pas tapé d'année "));
        const int year = toInteger16(text);
        if (year < FirstYear || year > LastYear) {
            m_result.year.clear();
            return stop(QStringLiteral(" L'année choisie n'est pas valide "));
        }
        m_pointer.showBusy();
        if (year == FirstYear) {
            m_card.moveLast();
            standOn(m_card.absolutePosition() + 1);
        } else if (m_card.findLast(QStringLiteral("[An] LIKE '*") + QString::number(year) +
                                   QStringLiteral("*'"))) {
            standOn(m_card.absolutePosition() + 1);
        } else {
            m_messages.show(MessageIcon::Exclamation, MessageButtons::Ok,
                            QStringLiteral("Il n'y a pas de référence correspondant à ce critère."),
                            NavigationTitle);
        }
        return true;
    }

    bool goToBulletin()
    {
        const QString number = m_request.bulletin.trimmed();
        if (number.isEmpty())
            return stop(QStringLiteral(" Vous n'avez pas tapé de numéro "));
        const QString numberCondition =
            QStringLiteral("[Numéro] LIKE '*") + quoted(number) + QStringLiteral("*'");
        if (!m_request.page.isEmpty()) {
            if (!isNumeric(m_request.page))
                return stop(QStringLiteral(" La page tapée n'est pas un nombre "));
            if (m_card.findFirst(numberCondition + QStringLiteral(" AND [Page] LIKE '*") +
                                 quoted(m_request.page.trimmed()) + QStringLiteral("*'")))
                standOn(m_card.absolutePosition() + 1);
            else
                notFound(QStringLiteral(" Cette référence n'existe pas "));
        } else if (m_card.findLast(numberCondition)) {
            standOn(m_card.absolutePosition() + 1);
        } else {
            notFound(QStringLiteral(" Ce numéro de bulletin n'existe pas "));
        }
        return true;
    }

    bool goToReference()
    {
        const QString missing = QStringLiteral(" Ce numéro de référence n'existe pas ");
        const QString text = m_request.reference.trimmed();
        if (text.isEmpty())
            return stop(QStringLiteral(" Vous n'avez pas tapé de numéro de référence "));
        const double number = toNumber(text);
        if (number < 1 || number > LastReference) {
            m_result.reference.clear();
            return stop(missing);
        }
        if (text.startsWith(u'+'))
            m_result.reference = text.mid(1);
        // The search takes the box's text as it now stands: "+15" looks for 15.
        if (m_card.findLast(QStringLiteral("[rang] LIKE '") + quoted(m_result.reference.trimmed()) +
                            u'\'')) {
            // The base is stored newest first: reference n stands at count - n + 1.
            standOn(int(roundHalfEven(m_state.count - number + 1)));
        } else {
            notFound(missing);
        }
        return true;
    }

    void standOn(int position)
    {
        m_state.position = position;
        m_basePosition = position;
        m_result.moved = true;
    }

    // An input error: its message, and the panel stays open.
    bool stop(const QString &text)
    {
        m_messages.show(MessageIcon::Critical, MessageButtons::Ok, text, ErrorTitle);
        return false;
    }

    void notFound(const QString &text)
    {
        m_messages.show(MessageIcon::Information, MessageButtons::Ok, text, NavigationTitle);
    }

    // The error rule, for a typed text that is not a number: the pointer back to normal, the
    // panel left open, the boxes emptied but the page.
    void typeError()
    {
        m_pointer.restore();
        if (m_request.option == GoToRequest::Year)
            m_messages.show(MessageIcon::Critical, MessageButtons::Ok,
                            QStringLiteral(" L'année tapée n'est pas un nombre valide "),
                            ErrorTitle);
        m_result.year.clear();
        m_result.bulletin.clear();
        m_result.reference.clear();
    }

    // The error rule, for any other error (a database failure, an overflow).
    void fail(int number, const QString &description)
    {
        m_pointer.restore();
        m_messages.show(MessageIcon::None, MessageButtons::Ok,
                        QStringLiteral("Erreur ") + QString::number(number) + LineBreak +
                            description,
                        QStringLiteral("Erreur"));
    }

    const GoToRequest &m_request;
    RecordSet &m_card;
    CardState &m_state;
    int &m_basePosition;
    MessageBox &m_messages;
    BusyPointer &m_pointer;
    GoToResult m_result;
};

} // namespace

GoToResult GoTo(const GoToRequest &request, RecordSet &card, CardState &state, int &basePosition,
                MessageBox &messages, BusyPointer &pointer)
{
    return Aller(request, card, state, basePosition, messages, pointer).run();
}

} // namespace ferlin
