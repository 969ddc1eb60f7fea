#include "menumodel.h"

#include <QAction>
#include <QMenu>

namespace {

const char kId[] = "id";
const char kLang[] = "id_lang";

QString keyOf(const MenuEntry &entry)
{
    return entry.id.isEmpty() ? entry.lang : entry.id;
}

const MenuEntry *findEntry(const QVector<MenuEntry> &entries, const QString &key)
{
    for (const MenuEntry &entry : entries) {
        if (!entry.isSeparator() && entry.children.isEmpty() && keyOf(entry) == key)
            return &entry;
        if (const MenuEntry *inner = findEntry(entry.children, key))
            return inner;
    }
    return nullptr;
}

} // namespace

MenuEntry MenuEntry::action(const QString &id, const QString &text, bool checkable)
{
    MenuEntry entry;
    entry.id = id;
    entry.text = text;
    entry.checkable = checkable;
    return entry;
}

MenuModel::MenuModel(QVector<MenuEntry> entries, QObject *parent)
    : QObject(parent)
    , m_entries(std::move(entries))
{ }

void MenuModel::setChecked(const QString &key, bool checked)
{
    // The entry lives in m_entries, which is not const.
    auto *entry = const_cast<MenuEntry *>(findEntry(m_entries, key));
    if (!entry || entry->checked == checked)
        return;
    entry->checked = checked;
    emit checkedChanged(key, checked);
}

bool MenuModel::isChecked(const QString &key) const
{
    const MenuEntry *entry = findEntry(m_entries, key);
    return entry && entry->checked;
}

QMenu *MenuModel::createMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    fill(menu, m_entries);
    return menu;
}

void MenuModel::fill(QMenu *menu, const QVector<MenuEntry> &entries)
{
    for (const MenuEntry &entry : entries) {
        if (!entry.children.isEmpty()) {
            fill(menu->addMenu(entry.text), entry.children);
            continue;
        }
        if (entry.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction *action = menu->addAction(entry.text);
        action->setProperty(kId, entry.id);
        if (!entry.lang.isEmpty())
            action->setProperty(kLang, entry.lang);
        action->setCheckable(entry.checkable);
        action->setChecked(entry.checked);
        const QString key = keyOf(entry);
        connect(this, &MenuModel::checkedChanged, action,
                [action, key](const QString &changed, bool checked) {
                    if (changed == key)
                        action->setChecked(checked);
                });
        connect(action, &QAction::triggered, this, [this, action] {
            // A click toggles a checkable action by itself; the model decides.
            const QString id = action->property(kId).toString();
            const QString lang = action->property(kLang).toString();
            action->setChecked(isChecked(id.isEmpty() ? lang : id));
            emit triggered(id, lang);
        });
    }
}
