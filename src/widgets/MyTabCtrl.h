#pragma once

#include <QTabBar>

// The tab strip of every tabbed sheet of the program. It paints each tab itself: button-face
// fill, button text, the selected caption centred and the others on the bottom edge of
// their tab. All tabs have the same size.
class CMyTabCtrl : public QTabBar {
    Q_OBJECT
public:
    explicit CMyTabCtrl(QWidget* parent = nullptr);

    // Colour of every caption: the palette's button text, so that it reads on a dark theme.
    QColor CaptionColor() const;
    // Captions longer than this are cut when drawn.
    static constexpr int MaxCaptionLength = 63;

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString MeasureKey() const;
    void Measure() const;
    QSize UniformTabSize() const;
    void PaintTab(QPainter& painter, int index) const;

    mutable QString m_measuredFor; // MeasureKey() of the figures below
    mutable QSize m_uniform;
    mutable int m_squeezedWidth = 0;
};
