#include "gui/info/associationscreen.h"

#include "core/context/appcontext.h"
#include "core/info/weblinks.h"
#include "core/platform/messagebox.h"
#include "gui/shell/accessibility.h"
#include "gui/shell/screenhost.h"
#include "gui/shell/screennumber.h"

#include <QGridLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QVBoxLayout>

#include <cmath>

namespace ferlin {

namespace {

constexpr QSize PictureSize(130, 148);

// A label that runs an action when the left button is released over it.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
    {
        setCursor(Qt::PointingHandCursor);
    }
    void setAction(std::function<void()> action) { m_action = std::move(action); }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            m_action) {
            m_action();
            return;
        }
        QLabel::mouseReleaseEvent(event);
    }

private:
    std::function<void()> m_action;
};

QLabel *textLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel *heading(const char *name, const QString &text, QWidget *parent)
{
    QLabel *label = textLabel(name, text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    label->setFont(bold);
    return label;
}

// A caption and its links, one under the other, beside it.
void addLinkRow(QGridLayout *grid, int &row, QLabel *caption, std::initializer_list<QLabel *> links)
{
    caption->setWordWrap(false);
    grid->addWidget(caption, row, 0, Qt::AlignTop);
    for (QLabel *link : links)
        grid->addWidget(link, row++, 1, Qt::AlignLeft | Qt::AlignTop);
}

} // namespace

AssociationScreen::AssociationScreen(ScreenHost &window) : m_window(window)
{
    setObjectName(QStringLiteral("ORV"));
    setWindowTitle(QStringLiteral("L'association"));

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("Defilement"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(buildContents());

    auto *number = new QLabel(QStringLiteral("F 12"), this);
    number->setObjectName(QStringLiteral("Label23"));
    greyScreenNumber(number);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(number, 0, Qt::AlignRight);
    nameControlsForAccessibility(this);
}

QWidget *AssociationScreen::buildContents()
{
    auto *contents = new QWidget;
    contents->setObjectName(QStringLiteral("Contenu"));

    auto *picture = new LinkLabel(QString(), contents);
    picture->setAction([this] {
        if (m_pictureAction)
            m_pictureAction();
    });
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(AssociationScreen::picture());
    picture->setFixedSize(PictureSize);
    picture->setToolTip(QStringLiteral(" A propos de Ferlin "));

    auto *title =
        heading("Label1", QStringLiteral("L'ORV, l'association qui publie le KVT"), contents);
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 4);
    title->setFont(big);

    // The association, its journal and the base.
    auto *left = new QVBoxLayout;
    left->addWidget(heading("Label2", QStringLiteral("L'association"), contents));
    left->addWidget(textLabel(
        "Label3",
        QStringLiteral("L'ORV (Office de Recherche et de Valorisation pédagogiques) est une "
                       "association d'enseignants sans but lucratif, régie par la loi de 1901. "
                       "Elle a été fondée à Paris en 1904 par un groupe d'instituteurs et de "
                       "professeurs d'école normale."),
        contents));
    left->addWidget(textLabel(
        "Label4",
        QStringLiteral("Elle réunit aujourd'hui près de 8 500 adhérents : enseignants de l'école "
                       "maternelle à l'université, formateurs et chercheurs en éducation."),
        contents));
    left->addWidget(textLabel(
        "Label5",
        QStringLiteral("Ses objectifs : favoriser les échanges entre enseignants de tous les "
                       "niveaux, faire connaître les recherches et les pratiques de classe, "
                       "offrir à chacun des outils de formation et de documentation."),
        contents));
    left->addSpacing(8);
    left->addWidget(heading("Label6", QStringLiteral("Le Kavetol (KVT)"), contents));
    left->addWidget(textLabel(
        "Label7",
        QStringLiteral("Le KVT, la revue de l'association, paraît depuis 1907 : cinq bulletins "
                       "par an consacrés à l'enseignement, à la didactique et à la vie de la "
                       "classe, écrits par des enseignants pour des enseignants."),
        contents));
    left->addSpacing(8);
    left->addWidget(heading("Label8", QStringLiteral("La base Tarnex"), contents));
    left->addWidget(textLabel(
        "Label9",
        QStringLiteral("La base de données Tarnex, qui recense tous les articles parus dans le "
                       "KVT, a été réalisée par le groupe documentation de l'ORV : Geneviève "
                       "Aubrac, Marc Delorme, Lucie Fontanel, Bernard Ozanne et Sylvie "
                       "Teyssier."),
        contents));
    left->addStretch();

    // The secretariat and the addresses to write to.
    auto *right = new QVBoxLayout;
    right->addWidget(heading("Label10", QStringLiteral("Le secrétariat"), contents));
    right->addWidget(textLabel("Label11",
                               QStringLiteral("ORV - Secrétariat national\n27 rue des Tanneurs\n"
                                              "75999 Paris Cedex 14"),
                               contents));
    right->addWidget(textLabel("Label12", QStringLiteral("Téléphone : 01 99 00 41 27"), contents));
    right->addWidget(textLabel("Label13", QStringLiteral("Télécopie : 01 99 00 41 28"), contents));
    auto *addresses = new QGridLayout;
    addresses->setColumnStretch(1, 1);
    int row = 0;
    addLinkRow(addresses, row, textLabel("Label14", QStringLiteral("Site Web :"), contents),
               {webLink("Label29", QStringLiteral("http://www.orv.example.fr"), contents)});
    addLinkRow(addresses, row, textLabel("Label15", QStringLiteral("Courriel :"), contents),
               {mailLink("Label24", QStringLiteral("secretariat@orv.example.fr"), contents)});
    QLabel *journalSite =
        webLink("Label19", QStringLiteral("http://www.orv.example.fr/kvt"), contents);
    journalSite->setToolTip(QStringLiteral(" Cliquer pour accéder au site Web de l'ORV "));
    addLinkRow(addresses, row, textLabel("Label18", QStringLiteral("Le KVT en ligne :"), contents),
               {journalSite});
    right->addLayout(addresses);
    right->addSpacing(8);

    right->addWidget(heading("Label21", QStringLiteral("À qui écrire ?"), contents));
    auto *contacts = new QGridLayout;
    contacts->setColumnStretch(1, 1);
    row = 0;
    addLinkRow(contacts, row,
               textLabel("Label25", QStringLiteral("Le programme Ferlin pour PC :"), contents),
               {mailLink("Label20", QStringLiteral("helene.marchadier@orv.example.fr"), contents),
                mailLink("Label17", QStringLiteral("yves.colombet@orv.example.fr"), contents)});
    addLinkRow(contacts, row,
               textLabel("Label26", QStringLiteral("Le programme pour Macintosh :"), contents),
               {mailLink("Label27", QStringLiteral("ferlin.mac@orv.example.fr"), contents)});
    addLinkRow(contacts, row,
               textLabel("Label28", QStringLiteral("La base de données Tarnex :"), contents),
               {mailLink("Label16", QStringLiteral("documentation@orv.example.fr"), contents)});
    right->addLayout(contacts);
    right->addWidget(textLabel(
        "Label30",
        QStringLiteral("Cliquez sur une adresse pour l'ouvrir dans votre navigateur Web ou "
                       "votre messagerie."),
        contents));
    right->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(16);
    top->addWidget(title, 1, Qt::AlignVCenter);
    auto *body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addSpacing(24);
    body->addLayout(right, 1);
    auto *layout = new QVBoxLayout(contents);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(body, 1);
    return contents;
}

QLabel *AssociationScreen::webLink(const char *name, const QString &address, QWidget *parent)
{
    return addressLink(name, address, AddressKind::Web, parent);
}

QLabel *AssociationScreen::mailLink(const char *name, const QString &address, QWidget *parent)
{
    return addressLink(name, address, AddressKind::Mail, parent);
}

QLabel *AssociationScreen::addressLink(const char *name, const QString &address, AddressKind kind,
                                       QWidget *parent)
{
    auto *link = new LinkLabel(address, parent);
    link->setObjectName(QString::fromUtf8(name));
    // A link opens the address it shows.
    link->setAction([this, link, kind] {
        if (kind == AddressKind::Web)
            openWeb(link->text());
        else
            openMail(link->text());
    });
    QFont underlined = link->font();
    underlined.setUnderline(true);
    link->setFont(underlined);
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0xFF));
    link->setPalette(palette);
    return link;
}

void AssociationScreen::openWeb(const QString &address)
{
    AppContext &context = m_window.context();
    // A browser that cannot start is told to the user: a link that silently does nothing would
    // leave them wondering, while the message says where to set the browser.
    if (const auto failure =
            OpenWebAddress(address, context.state.settings.webBrowser, context.platform.launcher))
        context.platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok,
                                         browserFailureMessage(*failure));
}

void AssociationScreen::openMail(const QString &address)
{
    AppContext &context = m_window.context();
    if (const auto failure =
            OpenMailAddress(address, context.state.settings.webBrowser, context.platform.launcher))
        context.platform.messageBox.show(MessageIcon::Exclamation, MessageButtons::Ok,
                                         browserFailureMessage(*failure));
}

QPixmap AssociationScreen::picture()
{
    QPixmap pixmap(PictureSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(1, 1, PictureSize.width() - 2, PictureSize.height() - 2);

    // A dawn sky over a field, in a rounded frame.
    QLinearGradient sky(frame.topLeft(), frame.bottomLeft());
    sky.setColorAt(0, QColor(0x2b, 0x4c, 0x7e));
    sky.setColorAt(0.55, QColor(0xf2, 0xb8, 0x6b));
    sky.setColorAt(1, QColor(0xf7, 0xe3, 0xb5));
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), 2));
    p.setBrush(sky);
    p.drawRoundedRect(frame, 10, 10);

    // The rising sun and its rays.
    const QPointF sun(65, 78);
    p.setPen(QPen(QColor(0xff, 0xe0, 0x80), 2));
    for (int k = 0; k < 9; ++k) {
        const qreal angle = 3.14159265 * (0.1 + 0.1 * k);
        const QPointF dir(std::cos(angle), -std::sin(angle));
        p.drawLine(sun + dir * 26, sun + dir * 40);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd0, 0x40));
    p.drawPie(QRectF(sun.x() - 20, sun.y() - 20, 40, 40), 0, 180 * 16);

    // An open book, its two pages lined with text.
    QPainterPath leftPage;
    leftPage.moveTo(65, 86);
    leftPage.cubicTo(50, 78, 28, 80, 14, 86);
    leftPage.lineTo(14, 128);
    leftPage.cubicTo(28, 122, 50, 120, 65, 128);
    leftPage.closeSubpath();
    QPainterPath rightPage;
    rightPage.moveTo(65, 86);
    rightPage.cubicTo(80, 78, 102, 80, 116, 86);
    rightPage.lineTo(116, 128);
    rightPage.cubicTo(102, 122, 80, 120, 65, 128);
    rightPage.closeSubpath();
    p.setPen(QPen(QColor(0x5a, 0x3a, 0x1a), 1.5));
    p.setBrush(QColor(0xfd, 0xfb, 0xf3));
    p.drawPath(leftPage);
    p.drawPath(rightPage);
    p.setPen(QPen(QColor(0x8a, 0x8a, 0x9a), 1));
    for (int line = 0; line < 5; ++line) {
        const qreal y = 94 + line * 6.5;
        p.drawLine(QPointF(21, y), QPointF(58, y - 1));
        p.drawLine(QPointF(72, y - 1), QPointF(109, y));
    }
    // The book's cover showing below the pages.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8b, 0x1e, 0x2e));
    QPainterPath cover;
    cover.moveTo(10, 130);
    cover.cubicTo(30, 124, 50, 124, 65, 132);
    cover.cubicTo(80, 124, 100, 124, 120, 130);
    cover.lineTo(120, 134);
    cover.cubicTo(100, 128, 80, 128, 65, 136);
    cover.cubicTo(50, 128, 30, 128, 10, 134);
    cover.closeSubpath();
    p.drawPath(cover);
    return pixmap;
}

} // namespace ferlin
