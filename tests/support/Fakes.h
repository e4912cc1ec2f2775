// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/SettingsStore.h"
#include "tools/ImageObject.h"
#include "ui/Desktop.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QMap>
#include <QThread>
#include <QUrl>

#include <functional>
#include <limits>

class MemorySettings : public SettingsStore
{
public:
    QMap<QString, QString> values;
    QString value(const QString &key, const QString &fallback) const override { return values.value(key, fallback); }
    void setValue(const QString &key, const QString &value) override { values[key] = value; }
    void sync() override { ++syncs; }
    int syncs = 0;
};

// Answers questions from a script: the queued yes/no answers in turn (then No), one password (then none).
class FakeMessageBox : public MessageBox
{
public:
    QStringList informed;
    QList<bool> answers;
    std::optional<QString> password;
    int passwordQuestions = 0;
    QList<bool> passwordRetries;       // whether each question said the last password was wrong
    int questions = 0;                 // yes or no
    QStringList asked;                 // their texts
    std::function<void()> whileAsking; // the user thinking, before a yes/no answer

    void inform(QWidget *, const QString &text, const QString &, Icon) override { informed << text; }
    bool askYesNo(QWidget *, const QString &text) override
    {
        ++questions;
        asked << text;
        if (whileAsking)
            whileAsking();
        return !answers.isEmpty() && answers.takeFirst();
    }
    std::optional<QString> askPassword(QWidget *, const QString &, bool retry) override
    {
        ++passwordQuestions;
        passwordRetries << retry;
        return std::exchange(password, std::nullopt);
    }
};

class FakeFileDialog : public FileDialog
{
public:
    QString document;
    QStringList moreDocuments; // chosen with document
    QString image;
    QString folder;
    QStringList openDocuments(QWidget *, const QString &) override
    {
        return document.isEmpty() ? QStringList() : QStringList{document} + moreDocuments;
    }
    QString chooseFolder(QWidget *, const QString &) override { return folder; }
    QString proposed; // by the last save dialog
    QString saveImage(QWidget *, const QString &name, const QString &, bool) override
    {
        proposed = name;
        return image;
    }
};

// Records what the program hands to the desktop, in place of the real one while it lives.
class FakeDesktop : public Desktop
{
public:
    QList<QUrl> opened;
    bool openUrl(const QUrl &url) override
    {
        opened << url;
        return true;
    }

private:
    Override m_override{*this};
};

// Encodes every page into the same bytes without looking at the bitmap, taking as long as it is told.
class FixedImages : public ImageObject
{
public:
    explicit FixedImages(QByteArray data = {}, int delayMs = 0)
        : data(std::move(data))
        , delayMs(delayMs)
    {}
    QByteArray data;
    int delayMs = 0;
    ImageRoom roomLeft{qint64(1) << 30, std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max()};
    ImageResult convert(const QStringList &, const ImageEncoding &, const std::atomic_bool *) const override
    {
        QThread::msleep(delayMs);
        return {.ok = true, .data = data, .size = {1, 1}};
    }
    std::optional<ImageResult> exactPalettePage(const QString &, int, int, const std::atomic_bool *) const override
    {
        return std::nullopt;
    }
    std::optional<ImageResult> grayPage(const QString &, int, const std::atomic_bool *) const override
    {
        return std::nullopt;
    }
    std::optional<ImageResult> transparentPalettePage(const QString &, int, int,
                                                      const std::atomic_bool *) const override
    {
        return std::nullopt;
    }
    ImageRoom room() const override { return roomLeft; }
};
