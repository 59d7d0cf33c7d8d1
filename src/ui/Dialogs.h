// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace korvell {

/**
 * The program's message boxes and the error report, behind one seam: tests install an
 * answerer that records what would be shown and returns the button a user would press.
 */
namespace Dialogs {

enum class Icon { None, Information, Question, Warning, Critical };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct Message {
    Icon icon;
    Buttons buttons;
    QString title;
    QString text;
};

using Answerer = std::function<Answer(const Message&)>;

/// Shows a modal message box (or asks the installed answerer) and returns the button pressed.
Answer show(QWidget* parent, Icon icon, Buttons buttons, const QString& text);
/// The application's standard error report: a message box with the error text.
void reportError(QWidget* parent, const QString& text);

/// Replaces the message boxes by `answerer` until reset with an empty function (tests only).
void setAnswerer(Answerer answerer);

} // namespace Dialogs

/// Runs an event handler; an error it raises is shown by the standard error report and goes no further.
void guarded(QWidget* parent, const std::function<void()>& handler);

/// The hourglass cursor for the lifetime of the object; nests.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace korvell
