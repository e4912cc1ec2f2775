// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

// Where a window goes: centred on the screen, or centred over its owner and pulled back inside the
// screen's right and bottom edges (not its left and top ones).
QPoint centredFormPosition(QSize form, std::optional<QRect> owner, QSize screen);

void CenterForm(QWidget *form, QWidget *owner);
