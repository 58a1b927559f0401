#pragma once

#include <QStandardItemModel>

// The theme editor's list of the skins (shown as states) of one item type, in the order they
// were added. Each row holds the bare skin name (Qt::DisplayRole and Qt::EditRole), whether it
// is the type's default skin (IsDefaultRole) and whether the open project uses it (InUseRole).
// The default row displays its name followed by " (Default)".
//
// An edit of a row's name is not applied: it becomes the request changeSkinName, which the
// editor turns into an undoable rename; the row takes the new name when the theme reports
// the change back through renameSkin. Names are compared exactly (case-sensitive).
class ThemeSkinModel : public QStandardItemModel
{
    Q_OBJECT

public:
    enum Role
    {
        IsDefaultRole = Qt::UserRole,
        InUseRole = Qt::UserRole + 1
    };

    explicit ThemeSkinModel(QObject* parent = nullptr);
    ~ThemeSkinModel() override;

    // Appends a row that is not the default.
    void addSkin(const QString& name, bool inUse);
    // Marks the rows of the name as default and every other row as not; a name no row has
    // leaves no default row.
    void setDefaultSkin(const QString& name);
    // The row's bare name, without " (Default)".
    QString skinName(const QModelIndex& index) const;
    // The first row of oldName takes newName, keeping its flags; nothing when there is none.
    void renameSkin(const QString& oldName, const QString& newName);
    // Removes the first row of the name unless the project uses that skin.
    void removeSkin(const QString& name);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // An edit (Qt::EditRole) of a row in use is refused with cannotChangeNameOfSkinInUse();
    // one to an empty name or to the name of any row (itself included) is refused silently;
    // any other emits changeSkinName and returns true, leaving the row as it was. Other roles
    // are stored as given.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void changeSkinName(QString oldName, QString newName);
    void cannotChangeNameOfSkinInUse();

private:
    int findRow(const QString& name) const;
};
