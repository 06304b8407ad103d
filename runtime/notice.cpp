#include "notice.h"

#include <QLabel>
#include <QTimer>

namespace vb {

void showNotice(QWidget* window, const QString& text, int ms) {
    if (!window) return;
    const QString name = QStringLiteral("notice");
    delete window->findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
    auto* notice = new QLabel(text, window);
    notice->setObjectName(name);
    notice->setAccessibleName(text);
    notice->setAttribute(Qt::WA_TransparentForMouseEvents);
    notice->setFocusPolicy(Qt::NoFocus);
    notice->setWordWrap(true);
    notice->setAlignment(Qt::AlignCenter);
    notice->setStyleSheet(QStringLiteral("QLabel { background: rgba(20, 20, 40, 215); color: white;"
                                         " border-radius: 6px; padding: 6px 10px;"
                                         " font: 13px 'Liberation Sans'; }"));
    const int width = std::min(window->width() - 16, 480);
    notice->setFixedWidth(width);
    notice->adjustSize();
    notice->move((window->width() - width) / 2, 8);
    notice->show();
    notice->raise();
    QTimer::singleShot(ms, notice, &QObject::deleteLater);
}

} // namespace vb
