// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "Dialogs.h"

#include "common/Error.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include <exception>

namespace korvell {

namespace {

Dialogs::Answerer& installedAnswerer() {
    static Dialogs::Answerer answerer;
    return answerer;
}

QMessageBox::Icon toQt(Dialogs::Icon icon) {
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Dialogs::Answer Dialogs::show(QWidget* parent, Icon icon, Buttons buttons, const QString& text) {
    const QString title = QApplication::applicationDisplayName();
    if (const Answerer& answerer = installedAnswerer()) {
        return answerer(Message{icon, buttons, title, text});
    }
    QMessageBox box(toQt(icon), title, text,
                    buttons == Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    // A wait cursor set by the caller must not hide the fact that an answer is awaited.
    const bool busy = QGuiApplication::overrideCursor() != nullptr;
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    const int result = box.exec();
    if (busy) {
        QGuiApplication::restoreOverrideCursor();
    }
    switch (result) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

void Dialogs::reportError(QWidget* parent, const QString& text) {
    show(parent, Icon::Critical, Buttons::Ok, text);
}

void Dialogs::setAnswerer(Answerer answerer) {
    installedAnswerer() = std::move(answerer);
}

void guarded(QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const Error& e) {
        Dialogs::reportError(parent, e.text());
    } catch (const std::exception& e) {
        Dialogs::reportError(parent, QString::fromLocal8Bit(e.what()));
    }
}

BusyCursor::BusyCursor() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor() {
    QGuiApplication::restoreOverrideCursor();
}

} // namespace korvell
