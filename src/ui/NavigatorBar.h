// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <array>

class QToolButton;

namespace korvell {

/// Row of record-navigation buttons under a grid. It only reports clicks; the grid acts on them.
class NavigatorBar : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh, ButtonCount };

    explicit NavigatorBar(QWidget* parent = nullptr);

    QToolButton* button(Button which) const { return m_buttons.at(static_cast<std::size_t>(which)); }
    void setButtonEnabled(Button which, bool enabled);

signals:
    void clicked(korvell::NavigatorBar::Button which);

private:
    std::array<QToolButton*, ButtonCount> m_buttons{};
};

} // namespace korvell
