#include "mixer/list_key_click.h"

#include <QEvent>
#include <QListWidget>

namespace {

class KeySelection : public QObject
{
public:
    KeySelection(QListWidget* list, std::function<void()> click) : QObject(list), list_(list), click_(std::move(click))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            // The list moves its selection after this filter: look once the key is handled.
            const int before = list_->currentRow();
            QMetaObject::invokeMethod(
                this, [this, before] {
                    if (list_->currentRow() != before)
                        click_();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QListWidget* list_;
    std::function<void()> click_;
};

} // namespace

void clickOnKeySelection(QListWidget* list, std::function<void()> click)
{
    list->installEventFilter(new KeySelection(list, std::move(click)));
}
