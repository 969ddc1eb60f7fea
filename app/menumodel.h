#pragma once

#include <QObject>
#include <QString>
#include <QVector>

class QMenu;
class QWidget;

// One entry of a menu: an action with an id (or a language file), a submenu, or a separator.
struct MenuEntry
{
    QString id; // the action's "id" property
    QString text;
    QString lang; // the action's "id_lang" property: a translation file
    bool checkable = false;
    bool checked = false;
    QVector<MenuEntry> children; // a submenu titled text when not empty

    static MenuEntry action(const QString &id, const QString &text, bool checkable = false);
    static MenuEntry separator() { return MenuEntry(); }
    bool isSeparator() const { return id.isEmpty() && lang.isEmpty() && children.isEmpty(); }
};

// A menu as data: entries by id with their check state. Menus made from it follow the
// check state and report clicks as triggered(id, lang). GUI thread only.
class MenuModel : public QObject
{
    Q_OBJECT

public:
    explicit MenuModel(QVector<MenuEntry> entries, QObject *parent = nullptr);

    const QVector<MenuEntry> &entries() const { return m_entries; }
    // key is an id or a language file.
    void setChecked(const QString &key, bool checked);
    bool isChecked(const QString &key) const;
    // A menu showing the entries, owned by parent.
    QMenu *createMenu(QWidget *parent);

signals:
    void triggered(const QString &id, const QString &lang);
    void checkedChanged(const QString &key, bool checked);

private:
    void fill(QMenu *menu, const QVector<MenuEntry> &entries);

    QVector<MenuEntry> m_entries;
};
