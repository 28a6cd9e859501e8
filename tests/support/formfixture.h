// The real main window on the offscreen platform, with a fake clock and a seeded generator,
// shown, activated and past its first activation.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "core/numbertext.h"
#include "fakeview.h"
#include "window/accessibility/formaccessibility.h"
#include "window/application.h"
#include "window/tform1.h"

namespace tolvaro::test {

struct FormFixture {
    FormFixture() {
        form = std::make_unique<TForm1>(clock);
        accessibility = std::make_unique<FormAccessibility>(*form);
        form->setErrorReporter([this](const QString& message) { errors << message; });
        form->practice().random().Seed(1234);
        // No test may wait on the interactive printer setup dialog.
        form->printer().SetSetupHook([](QPrinter&) { return false; });
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTRY_COMPARE(form->activationCount(), 1);
    }

    template <class T = QWidget>
    T* get(const char* name) const {
        T* widget = form->findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no control %s", name);
        return widget;
    }
    QLineEdit* result(int row) const { return get<QLineEdit>(("Oef" + std::to_string(row) + "Result").c_str()); }
    QString text(const char* name) const {
        QWidget* w = get(name);
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
        return {};
    }
    QString rowText(RowPart part, int row) const {
        return QString::fromStdString(form->Text(Row(part, row)));
    }
    // The exact power of a row as a pupil types it (small settings only).
    QString answer(int row) const {
        return QString::fromStdString(FloatToText(form->practice().ExpectedPowers[row - 1]));
    }
    void click(const char* name) const { QTest::mouseClick(get(name), Qt::LeftButton); }
    // Types text key by key; characters outside ASCII arrive as key events carrying their text.
    static void type(QWidget* widget, const QString& text) {
        for (const QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(widget, c.toLatin1());
            } else {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(widget, &press);
                QApplication::sendEvent(widget, &release);
            }
        }
    }
    void typeSetting(const char* name, const QString& text) const {
        auto* edit = get<QLineEdit>(name);
        QTest::mouseClick(edit, Qt::LeftButton);
        type(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    FakeClock clock;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<FormAccessibility> accessibility;  // made beside the window, as at start-up
    QStringList errors;
};

}  // namespace tolvaro::test
