#pragma once

// Helpers of the widget tests: find controls by their names and use them as
// a user does (mouse clicks on the real widgets).

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>
#include <QWidget>

namespace tiradex {

// The child of `root` named `name`; a test failure when there is none.
template <class T> T *Control(const QObject *root, const char *name)
{
    T *found = root->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

inline QString LabelText(const QObject *root, const char *name)
{
    return Control<QLabel>(root, name)->text();
}

inline bool IsEnabled(const QObject *root, const char *name)
{
    return Control<QWidget>(root, name)->isEnabled();
}

// A mouse click on a button; a disabled button ignores it, as on screen.
inline void Click(const QObject *root, const char *name)
{
    QTest::mouseClick(Control<QAbstractButton>(root, name), Qt::LeftButton);
}

// The tree node with the text `actText` (top level), or its child `sceneText`.
inline QTreeWidgetItem *TreeNode(QTreeWidget *tree, const QString &actText,
                                 const QString &sceneText = QString())
{
    for (QTreeWidgetItem *act : tree->findItems(actText, Qt::MatchExactly)) {
        for (int s = 0; s < act->childCount() && !sceneText.isEmpty(); ++s) {
            if (act->child(s)->text(0) == sceneText)
                return act->child(s);
        }
        if (sceneText.isEmpty())
            return act;
    }
    return nullptr;
}

// Clicks a node of a shown tree, opening its act first.
inline void ClickNode(QTreeWidget *tree, QTreeWidgetItem *node)
{
    if (node->parent())
        node->parent()->setExpanded(true);
    tree->scrollToItem(node);
    const QRect rect = tree->visualItemRect(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
}

// Picks entry k of a combo box's list the way a mouse does: the list opens
// and the entry is clicked.
inline void PickFromList(QComboBox *box, int k)
{
    box->showPopup();
    QAbstractItemView *view = box->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QRect rect = view->visualRect(box->model()->index(k, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

// The captions of a menu's entries, "-" for a separator.
inline QStringList MenuCaptions(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *a : menu->actions())
        texts.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

// The shown window of type W (and object name `name` when given); null when
// none is shown.
template <class W> W *ShownWindow(const char *name = nullptr)
{
    for (QWidget *window : QApplication::allWidgets()) {
        W *found = qobject_cast<W *>(window);
        if (found && found->isVisible() && (!name || found->objectName() == QLatin1String(name)))
            return found;
    }
    return nullptr;
}

} // namespace tiradex
