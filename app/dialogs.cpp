#include "app/dialogs.h"

#include "app/paths.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace {

// "\r" in the program's texts is a line break in a box.
QString boxText(QString text)
{
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

QPointer<QWidget> parentWindow;

class QtDialogs final : public Dialogs
{
public:
    void beep() override { QApplication::beep(); }

    void message(const QString& text, const QString& caption) override
    {
        QMessageBox box(QMessageBox::NoIcon, caption.isEmpty() ? QString::fromUtf8(app::applicationTitle) : caption,
                        boxText(text), QMessageBox::Ok, parentWindow);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.exec();
    }

    void notice(const QString& text) override
    {
        for (const QPointer<QMessageBox>& shown : notices_)
            if (shown && shown->text() == boxText(text))
                return;
        auto* box = new QMessageBox(QMessageBox::Warning, QString::fromUtf8(app::applicationTitle), boxText(text),
                                    QMessageBox::Ok, parentWindow);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
        box->show();
        notices_.removeAll(nullptr);
        notices_.append(box);
    }

    bool confirm(const QString& text, const QString& caption) override
    {
        QMessageBox box(QMessageBox::Question, caption, boxText(text), QMessageBox::Ok | QMessageBox::Cancel,
                        parentWindow);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        return box.exec() == QMessageBox::Ok;
    }

    QString openFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parentWindow, caption, folder, filter);
    }

    QString saveFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        // The callers ask their own overwrite question.
        return QFileDialog::getSaveFileName(parentWindow, caption, folder, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }

private:
    QList<QPointer<QMessageBox>> notices_;
};

Dialogs* current = nullptr;

} // namespace

Dialogs& dialogs()
{
    static QtDialogs qtDialogs;
    return current ? *current : qtDialogs;
}

void setDialogs(Dialogs* replacement) { current = replacement; }

void setDialogParent(QWidget* parent) { parentWindow = parent; }
