#pragma once

#include <QComboBox>
#include <QPixmap>
#include <QSize>
#include <QSpinBox>
#include <QString>
#include <QWidget>

class QLabel;
class QSpinBox;
class CVARN_Character;
class CVARN_CharEquip;

// Common base of the character sheet's pages. A page never computes rules: it calls the
// character's operations and redraws from the character when told what changed.
//
// Every control a test reaches carries an object name: lowerCamelCase after what it is
// ("rankSpin", "skillTree"), with the index appended in a row of like controls ("baseSpin0").
//
// Lifecycle: constructed (not bound) -> added to a sheet -> bound once to its character by the
// view's first update (RefreshFromCharacter called) -> destroyed with the view. Until it is
// bound a page ignores every notification.
class CVARN_Page : public QWidget {
    Q_OBJECT
public:
    explicit CVARN_Page(const QString& caption, QWidget* parent = nullptr);

    // The tab text.
    const QString& Caption() const { return m_caption; }

    // Links the page to the character it shows and edits, and marks it initialised.
    void Bind(CVARN_Character* boundCharacter);

    bool IsInitialised() const { return initialised; }
    CVARN_Character* GetCharacter() const { return character; }

    // Redraws every control from the character.
    virtual void RefreshFromCharacter() {}
    // One change notification of the character; `object` is the piece of equipment for the
    // equipment hints. Called only once the page is bound.
    virtual void OnCharacterUpdate(int /*hint*/, CVARN_CharEquip* /*object*/) {}

    // The character was put back to another state as a whole (undo, redo): its records are
    // new. The old ones stay readable until every page has redrawn, so a page may look up
    // what it had selected. Redraws everything by default.
    virtual void OnCharacterRestored() { RefreshFromCharacter(); }

    // Measures the extent of the page's controls and keeps it in naturalWidth/naturalHeight.
    QSize ComputeNaturalSize();
    QSize NaturalSize() const { return QSize(naturalWidth, naturalHeight); }

    // Pages laid out with a Qt layout report the layout's hint; pages that place their
    // controls by hand report the bottom-right corner of their controls.
    QSize sizeHint() const override;

    // Runs a fill that waits for the page to be seen (see DeferFill) now, for whoever reaches
    // into the page's controls before that.
    void EnsureFilled() const;

protected:
    // A fill whose cost grows with the data set (a tree of every entry) waits until the page is
    // first seen, so that a window opens in a time that does not depend on the data set's size.
    // DeferFill() runs FillDeferred() at once on a visible page; otherwise when the page is
    // shown, or when EnsureFilled() is called by whatever reaches into the page's controls.
    void DeferFill();
    virtual void FillDeferred() {}
    void showEvent(QShowEvent* event) override;

    bool initialised = false;
    CVARN_Character* character = nullptr;
    int naturalWidth = 0;
    int naturalHeight = 0;

private:
    QString m_caption;
    mutable bool m_fillPending = false;
};

// True for the changes that move an attribute's step (its base value, its increases), on which
// the steps of skills and talents rest.
bool MovesAttributeSteps(int hint);

// Controls several pages share.

// The spin box of every page. A typed number is applied once, when the user presses Enter or
// leaves the field, so that typing "12" is one change and not a change to 1 and then to 12;
// a number outside the range is brought to the nearest end of it. The arrows and the Up/Down
// keys change the value at once, as always. The wheel turns it only while the box has the
// focus: otherwise it scrolls whatever holds the box, so that scrolling a page never changes
// a character by accident.
class CVARN_SpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit CVARN_SpinBox(QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    void wheelEvent(QWheelEvent* event) override;
};

// A combo box that, like the spin box above, leaves the wheel to its container until it has
// the focus.
class CVARN_ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CVARN_ComboBox(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
};

// A right-aligned spin box of that kind.
QSpinBox* MakeStepper(QWidget* parent);
// The warning picture, 32 by 32, made from its double-size source so that it stays crisp on a
// high-DPI screen (and in pictures rendered at twice the size).
QPixmap WarningPicture(const QWidget* widget);
// A label with the warning picture, hidden. A hidden icon keeps its place, so the texts beside it
// do not jump when it appears.
QLabel* MakeWarningIcon(QWidget* parent);
