#pragma once

#include <QString>
#include <QWidget>

namespace kx {

// Stands in for a view whose editor is not built yet: its title on the view background.
class PlaceholderView : public QWidget {
    Q_OBJECT
  public:
    PlaceholderView(const QString& objectName, const QString& title, QWidget* parent = nullptr);
    QString title() const { return m_title; }

  private:
    QString m_title;
};

}  // namespace kx
