#pragma once

#include <QString>
#include <QStringList>

namespace ferlin {

// The keywords chosen in the keyword picker: a first keyword, then keywords joined by ET, OU
// and SAUF. The search reads these, not the copy shown on the search screen.
struct KeywordChoice {
    QString first;    // Lab_mot1
    QStringList et;   // L_ET
    QStringList ou;   // L_OU
    QStringList sauf; // L_SAUF

    // KeywordCount: the first keyword plus the joined ones.
    int count() const
    {
        return (first.isEmpty() ? 0 : 1) + int(et.size() + ou.size() + sauf.size());
    }
};

// Everything the search screen holds about one search. A criterion takes part only while its
// tick box is ticked; its value is kept when it is unticked.
struct SelectionCriteria {
    bool keywords = false;  // Check_cles (the keywords themselves: KeywordChoice)
    bool years = false;     // Check_An
    QString yearFrom;       // T_an1
    QString yearTo;         // T_an2
    bool bulletin = false;  // Check_numéro
    QString bulletinNumber; // T_numéro
    bool level = false;     // Check_niveau
    QString levelText;   // Lab_niveau, one of " primaire ", " collège ", " lycée ", " postbac "
    bool author = false; // Check_auteur
    QString authorText;  // Lab_auteur
    bool pointOfView = false; // Check_PointdeVue
    QString pointOfViewText;  // Lab_PointdeVue
    bool domain = false;      // Check_domaine
    QString domainText;       // Lab_domaine
    bool reference = false;   // Check_Rang
    QString referenceText;    // T_Rang
    bool freeText = false;    // Check_libre
    QString freeTextValue;    // T_libre, as typed
    bool wordMode = false;    // OptionMot selected (else OptionChaine: string mode)
    bool inTitle = true;      // Check_titre
    bool inSummary = true;    // Check_Resume
    bool inKeywords = false;  // Check_MotsCles

    QString source = QStringLiteral("BASE"); // "BASE", "PANIER 1", "PANIER 2" or "PANIER 3"
    int destination = 1;                     // NuméroPanier: basket 1 to 3
    bool replace = false;                    // Option_panier: "Remplace le contenu"
};

// The captions of Lab_cle1, Lab_cle_et, Lab_cle_ou and Lab_cle_sauf as the search screen shows
// them: each keyword followed by a line feed and a blank.
struct KeywordCaptions {
    QString first;
    QString et;
    QString ou;
    QString sauf;
};

} // namespace ferlin
