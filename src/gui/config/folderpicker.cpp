#include "gui/config/folderpicker.h"

#include "core/platform/drives.h"
#include "core/platform/messagebox.h"
#include "core/platform/platformerror.h"

#include <QDir>
#include <QFileInfo>

namespace ferlin {

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int FilledRole = Qt::UserRole + 1;

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

} // namespace

DriveList::DriveList(Drives &drives, MessageBox &messages, QWidget *parent)
    : QComboBox(parent), m_drives(drives), m_messages(messages)
{
    connect(this, &QComboBox::activated, this, &DriveList::picked);
}

void DriveList::refresh()
{
    const QSignalBlocker blocker(this);
    clear();
    addItems(m_drives.driveRoots());
    const int index = findText(m_current);
    setCurrentIndex(index);
}

bool DriveList::chooseDrive(const QString &drive)
{
    QString root;
    try {
        root = m_drives.rootPath(drive);
    } catch (const PlatformError &) {
        m_messages.show(MessageIcon::None, MessageButtons::Ok,
                        QStringLiteral("Unité non valide. Mettez le CD-ROM dans le lecteur."),
                        QString());
        const QSignalBlocker blocker(this);
        setCurrentIndex(findText(m_current));
        return false;
    }
    m_current = drive;
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(findText(drive));
    }
    Q_EMIT driveChosen(root);
    return true;
}

void DriveList::picked(int index)
{
    if (index >= 0)
        chooseDrive(itemText(index));
}

FolderTree::FolderTree(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    connect(this, &QTreeWidget::itemExpanded, this, &FolderTree::fill);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *item) { itemChosen(item); });
}

void FolderTree::setRootFolder(const QString &folder)
{
    const QString root = withoutTrailingSlash(QDir::cleanPath(folder));
    m_root = root;
    {
        const QSignalBlocker blocker(this);
        clear();
        auto *item = new QTreeWidgetItem(this, QStringList{root});
        item->setData(0, PathRole, root);
        fill(item);
        item->setExpanded(true);
        setCurrentItem(item);
    }
    m_current = root;
    Q_EMIT folderChosen(root);
}

bool FolderTree::chooseFolder(const QString &folder)
{
    const QString wanted = withoutTrailingSlash(QDir::cleanPath(folder));
    QTreeWidgetItem *item = topLevelItem(0);
    if (!item || !QFileInfo(wanted).isDir())
        return false;
    const QString root = item->data(0, PathRole).toString();
    const QString prefix = root.endsWith(u'/') ? root : root + u'/';
    if (wanted != root && !wanted.startsWith(prefix))
        return false;
    // Open each branch on the way down.
    while (item->data(0, PathRole).toString() != wanted) {
        fill(item);
        item->setExpanded(true);
        QTreeWidgetItem *next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i) {
            const QString path = item->child(i)->data(0, PathRole).toString();
            if (wanted == path || wanted.startsWith(path + u'/'))
                next = item->child(i);
        }
        if (!next)
            return false;
        item = next;
    }
    setCurrentItem(item);
    return true;
}

void FolderTree::fill(QTreeWidgetItem *item)
{
    if (!item || item->data(0, FilledRole).toBool())
        return;
    item->setData(0, FilledRole, true);
    const QString path = item->data(0, PathRole).toString();
    // Hidden folders are listed too, as the system lists them; links are left out so that
    // opening branches always ends.
    const QFileInfoList folders = QDir(path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot |
                                                               QDir::Hidden | QDir::NoSymLinks,
                                                           QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &info : folders) {
        auto *child = new QTreeWidgetItem(item, QStringList{info.fileName()});
        child->setData(0, PathRole, info.absoluteFilePath());
        // Shown as openable until it is opened and found empty.
        child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    if (folders.isEmpty())
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

void FolderTree::itemChosen(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const QString path = item->data(0, PathRole).toString();
    if (path == m_current)
        return;
    m_current = path;
    Q_EMIT folderChosen(path);
}

} // namespace ferlin
