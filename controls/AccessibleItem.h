#pragma once
// One row of the library list or one entry of a pull-down, as assistive tools see it.
#include <QAccessible>
#include <QPointer>
#include <QWidget>

namespace orv {

// Role ListItem, named by the row's or entry's text; selectable, selected while it is the
// owner's current row or entry. Its press action picks it as a click does (a library row is a
// slot pick, a pull-down entry a choice of type); a library row also offers the commands of the
// list's context menu ("Clear"). The item holds no data of its own: it reads its owner, and it
// stops being valid when the owner goes or the index leaves the list.
class AccessibleItem : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  AccessibleItem(QWidget* owner, int index);

  QWidget* Owner() const { return m_owner; }
  int Index() const { return m_index; }

  bool isValid() const override;
  QObject* object() const override;
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int index) const override;
  int childCount() const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text t, const QString& text) override;
  QRect rect() const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  QStringList actionNames() const override;
  void doAction(const QString& name) override;
  QStringList keyBindingsForAction(const QString& name) const override;

 private:
  int OwnerCount() const;
  int OwnerCurrent() const;

  QPointer<QWidget> m_owner;
  int m_index;
};

}  // namespace orv
