#pragma once

#include <QHash>
#include <QIcon>
#include <QIdentityProxyModel>

class QPixmap;

// Pictures drawn for a panel's own backgrounds are often light glyphs on transparent (or dark
// ones): on a list of the desktop's colours they can all but vanish, so that a list of them
// looks empty. These put each picture on a backdrop of its own size, dark behind a light
// picture and light behind a dark one, whichever contrasts more with the picture's pixels.

// The picture over the backdrop that contrasts more with it; a null picture stays null.
QPixmap onContrastingBackdrop(const QPixmap& picture);

// Shows the rows of its source with every QIcon decoration, at each of its sizes, on the
// backdrop that suits it; any other data, and the source's own rows, stay as they are. The
// icons are made once per source icon and forgotten when the source is reset.
class BackdropIconModel : public QIdentityProxyModel
{
    Q_OBJECT

public:
    explicit BackdropIconModel(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    // By the source icon's cache key.
    mutable QHash<qint64, QIcon> icons;
};
