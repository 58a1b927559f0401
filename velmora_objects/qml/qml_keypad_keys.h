#pragma once

#include <QColor>
#include <QFont>
#include <QQuickItem>
#include <QRectF>
#include <QSizeF>
#include <QVariant>

class QPainter;

namespace VelmoraQML {

// The thirteen keys of a keypad, drawn by one item: a grid of 3 × 4 keys (7 8 9 / 4 5 6 /
// 1 2 3 / Del 0 Cls) under the keypad's display and a full-width Enter key below it. The item
// fills its keypad; its properties carry the keys' look (the keypad binds them to its button
// properties) and the key pressed, which draws with the pressed gradient.
//
// Each key is also a plain child item named "key7", "keyDel" and so on, placed where the key is
// drawn: the keys can be found by name and hit like items, without a rectangle and a text of
// their own for every key (a keypad is then about a fifth of the objects to create and bind).
//
// The keys are painted straight into the frame, clipped to what the window shows of them: a
// keypad of any size costs the same memory, and no more drawing than the window's area.
class QMLKeypadKeys : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(int radius MEMBER m_radius NOTIFY lookChanged)
    Q_PROPERTY(qreal keyOpacity MEMBER m_keyOpacity NOTIFY lookChanged)
    Q_PROPERTY(int borderWidth MEMBER m_borderWidth NOTIFY lookChanged)
    Q_PROPERTY(QColor borderColour MEMBER m_borderColour NOTIFY lookChanged)
    Q_PROPERTY(QColor gradientTopColour MEMBER m_topColour NOTIFY lookChanged)
    Q_PROPERTY(qreal gradientTopPosition MEMBER m_topPosition NOTIFY lookChanged)
    Q_PROPERTY(QColor gradientBottomColour MEMBER m_bottomColour NOTIFY lookChanged)
    Q_PROPERTY(qreal gradientBottomPosition MEMBER m_bottomPosition NOTIFY lookChanged)
    Q_PROPERTY(QColor gradientTopColour_pressed MEMBER m_topColourPressed NOTIFY lookChanged)
    Q_PROPERTY(QColor gradientBottomColour_pressed MEMBER m_bottomColourPressed NOTIFY lookChanged)
    Q_PROPERTY(bool fontBold MEMBER m_fontBold NOTIFY lookChanged)
    Q_PROPERTY(bool fontItalic MEMBER m_fontItalic NOTIFY lookChanged)
    Q_PROPERTY(QColor textColour MEMBER m_textColour NOTIFY lookChanged)
    Q_PROPERTY(QColor styleColour MEMBER m_styleColour NOTIFY lookChanged)
    // A QtQuick Text style: 0 normal, 1 outline, 2 raised, 3 sunken.
    Q_PROPERTY(int style MEMBER m_style NOTIFY lookChanged)
    // The index of the key pressed (see keyAt), -1 for none.
    Q_PROPERTY(int pressedIndex MEMBER m_pressedIndex NOTIFY lookChanged)

public:
    static constexpr int KeyCount = 13;

    explicit QMLKeypadKeys(QQuickItem* parent = nullptr);

    // The index of the key at the point (in this item's coordinates), or -1.
    Q_INVOKABLE int keyAt(qreal x, qreal y) const;
    // What the key enters: its digit as a number, or "Del", "Cls" or "Enter"; undefined for
    // an index out of range.
    Q_INVOKABLE QVariant valueOf(int index) const;
    // Where the key is drawn, in this item's coordinates.
    QRectF keyRect(int index) const;

signals:
    void lookChanged();

protected:
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
    QSGNode* updatePaintNode(QSGNode* node, UpdatePaintNodeData* data) override;

private:
    // The keys' look as one frame draws them.
    struct Look
    {
        QSizeF size;
        int radius;
        qreal keyOpacity;
        int borderWidth;
        QColor borderColour;
        QColor topColour;
        qreal topPosition;
        QColor bottomColour;
        qreal bottomPosition;
        QColor topColourPressed;
        QColor bottomColourPressed;
        QFont font; // the labels' family, weight and slant
        QColor textColour;
        QColor styleColour;
        int style;
        int pressedIndex;
    };
    // The node that paints the keys into the frame.
    class Node;

    // Where the key lies in keys of that size.
    static QRectF keyRect(const QSizeF& size, int index);
    // Paints the keys, or what of them meets the visible rectangle (in the keys' coordinates).
    static void paint(QPainter* painter, const Look& look, const QRectF& visible);
    static void paintKey(QPainter* painter, const Look& look, int index, const QRectF& rect,
                         const QRectF& visible);

    void placeKeys();
    Look look() const;

    int m_radius = 8;
    qreal m_keyOpacity = 0.75;
    int m_borderWidth = 1;
    QColor m_borderColour = QColor(0, 0, 0);
    QColor m_topColour = QColor(255, 255, 255);
    qreal m_topPosition = 0.0;
    QColor m_bottomColour = QColor(128, 128, 128);
    qreal m_bottomPosition = 1.0;
    QColor m_topColourPressed = QColor(128, 128, 128);
    QColor m_bottomColourPressed = QColor(255, 255, 255);
    bool m_fontBold = false;
    bool m_fontItalic = false;
    QColor m_textColour = QColor(0, 0, 0);
    QColor m_styleColour = QColor(64, 64, 64);
    int m_style = 0;
    int m_pressedIndex = -1;
    QQuickItem* m_keys[KeyCount] = {};
};

} // namespace VelmoraQML
