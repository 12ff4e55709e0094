#pragma once

#include <QString>

namespace ferlin {

// What the copy frame of the text-location page changes on that page and around it.
class TextLocationHost {
public:
    virtual ~TextLocationHost() = default;

    // The main window's eleven commands and the body of the first configuration page.
    virtual void LockCommands() = 0;
    virtual void UnlockCommands() = 0;
    // The page's label of the text folder (Lbl_HDdossier).
    virtual QString textFolderLabel() const = 0;
    virtual void setTextFolderLabel(const QString &text) = 0;
    // "Textes sur disque dur" enabled and turned on, as a user click would (the CD-ROM controls
    // disabled, the folder frame Frame_HD and its labels enabled and shown).
    virtual void chooseHardDisk() = 0;
    // Shows the page's "Copie / Déplacement des textes " button again (Retour).
    virtual void showCopyButton() = 0;
    // Saves the whole configuration, as the page's "Sauvegarder la configuration" does without
    // its message.
    virtual void saveConfiguration() = 0;
};

} // namespace ferlin
