#pragma once

#include <QComboBox>
#include <QTreeWidget>

namespace ferlin {

class Drives;
class MessageBox;

// A drive list: the names of the machine's drives as the user types them ("/", "/home/",
// "/dev/sr0"). Choosing a drive that cannot be read says "Unité non valide. Mettez le CD-ROM
// dans le lecteur." and goes back to the drive chosen before.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    DriveList(Drives &drives, MessageBox &messages, QWidget *parent = nullptr);

    // Lists the drives afresh, keeping the current one when it is still there.
    void refresh();
    QString currentDrive() const { return m_current; }
    // Chooses a drive as the user would; false when it cannot be read.
    bool chooseDrive(const QString &drive);

Q_SIGNALS:
    // A readable drive was chosen: the folder its files are under, ending with "/".
    void driveChosen(const QString &rootFolder);

private:
    void picked(int index);

    Drives &m_drives;
    MessageBox &m_messages;
    QString m_current;
};

// A folder tree: the folders below a root, read from the disk when a branch is opened.
// Choosing a folder (click or keyboard) emits folderChosen with its absolute path, without a
// trailing "/" except for the root "/".
class FolderTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderTree(QWidget *parent = nullptr);

    // Shows the tree below `folder`, which becomes the chosen folder.
    void setRootFolder(const QString &folder);
    QString rootFolder() const { return m_root; }
    QString currentFolder() const { return m_current; }
    // Chooses a folder below the root as the user would (the branches on its way are opened);
    // false when it is not below the root or does not exist.
    bool chooseFolder(const QString &folder);

Q_SIGNALS:
    void folderChosen(const QString &folder);

private:
    void fill(QTreeWidgetItem *item);
    void itemChosen(QTreeWidgetItem *item);

    QString m_root;
    QString m_current;
};

} // namespace ferlin
