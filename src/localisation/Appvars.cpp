// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "localisation/Appvars.h"

#include "common/Error.h"
#include "localisation/IniFile.h"
#include "localisation/ProgramFolder.h"

#include <QFileInfo>

namespace korvell {

TApplicationVar AppTexts;
TAppConfigVar AppConfig;
TApplicationUserVar AppUser;

namespace {

const QString kSavedVars = QStringLiteral("SAVED_VARS");
const QString kPrefLang = QStringLiteral("PREF_LANG");
const QString kLangFiles = QStringLiteral("LANG_FILES");
const QString kLangMenu = QStringLiteral("LANG_MENU");
const QString kOwnershipNotice = QStringLiteral(" (c) 2026 Korvell");

bool isFile(const QString& path) {
    return QFileInfo(path).isFile();
}

} // namespace

QString settingsFilePath() {
    return ProgramFolder::filePath(QStringLiteral("korvell.ini"));
}

void LoadDefaultTexts() {
    for (const TApplicationVar::TextEntry& entry : TApplicationVar::textEntries()) {
        AppTexts.*entry.member = QString::fromUtf8(entry.builtInText);
    }
}

void ReadLanguageSettings() {
    const QString path = settingsFilePath();
    if (!isFile(path)) {
        return;
    }
    const IniFile settings = IniFile::load(path);
    AppConfig.LangName = settings.value(kSavedVars, kPrefLang);
    if (!AppConfig.LangName.isEmpty()) {
        AppConfig.LangFile = settings.value(kLangFiles, AppConfig.LangName);
    }
}

void SelectLanguage(const QString& name) {
    AppConfig.LangFile = IniFile::readString(settingsFilePath(), kLangFiles, name);
    AppConfig.LangName = name;
}

bool SavePreferredLanguage(QString* errorText) {
    const QString path = settingsFilePath();
    if (!isFile(path)) {
        return true;
    }
    try {
        IniFile::writeString(path, kSavedVars, kPrefLang, AppConfig.LangName);
    } catch (const Error& error) {
        if (errorText != nullptr) {
            *errorText = error.text();
        }
        return false;
    }
    return true;
}

void LoadLanguageFile(const QString& path) {
    if (!isFile(path)) {
        return;
    }
    const IniFile file = IniFile::load(path);
    AppTexts.LangMenuKeys = file.keys(kLangMenu);
    AppTexts.LangMenuCaptions.clear();
    for (const QString& key : std::as_const(AppTexts.LangMenuKeys)) {
        AppTexts.LangMenuCaptions.append(file.value(kLangMenu, key));
    }
    AppTexts.langMenuLoaded = true;
    for (const TApplicationVar::TextEntry& entry : TApplicationVar::textEntries()) {
        AppTexts.*entry.member = file.value(entry.section, entry.key);
    }
    AppTexts.Copyright += kOwnershipNotice;
}

} // namespace korvell
