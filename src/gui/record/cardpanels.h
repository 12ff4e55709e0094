#pragma once

#include <QGroupBox>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ferlin {

struct GoToRequest;
struct GoToResult;

// The go-to panel of the record card (frame Frame_Navigue): a year, a bulletin number with an
// optional page, or a reference number. Typing in a box selects its option; Enter acts as "Aller".
class NavigationPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit NavigationPanel(QWidget *parent = nullptr);

    GoToRequest request() const;
    void apply(const GoToResult &result);

Q_SIGNALS:
    void goRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::array<QRadioButton *, 3> m_options;
    QLineEdit *m_year;
    QLineEdit *m_bulletin;
    QLineEdit *m_page;
    QLineEdit *m_reference;
    QObject *m_enterPressedIn = nullptr; // the box where Enter went down
};

// One of the two add panels of the record card: Frame_Ajoute (options Option2, "Ajouter au
// panier n° …") in whole-base mode, Frame_AjoutP (options Option3, "Ajout au panier n° …") in
// basket mode. Each shows the three basket counts.
class AddPanel : public QGroupBox {
    Q_OBJECT
public:
    enum Kind { FromBase, FromBasket };
    AddPanel(Kind kind, QWidget *parent = nullptr);

    // The basket chosen, 1 to 3.
    int chosenBasket() const;
    // In basket mode the basket browsed cannot be chosen; the first other one is selected.
    void excludeBasket(int basket);
    QLabel *countLabel(int basket) const { return m_counts.at(size_t(basket - 1)); }

Q_SIGNALS:
    void addRequested(int basket);

private:
    std::array<QRadioButton *, 3> m_options;
    std::array<QLabel *, 3> m_counts;
};

} // namespace ferlin
