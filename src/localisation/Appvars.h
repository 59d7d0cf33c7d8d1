// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "localisation/TAppConfigVar.h"
#include "localisation/TApplicationUserVar.h"
#include "localisation/TApplicationVar.h"

#include <QString>

namespace korvell {

/// The text catalogue; every entry is empty until the map window fills it.
extern TApplicationVar AppTexts;
/// The current language.
extern TAppConfigVar AppConfig;
/// The login identity.
extern TApplicationUserVar AppUser;

/// Full path of the settings file "korvell.ini" in the program's folder.
QString settingsFilePath();

/// Gives every catalogue entry its built-in English text; the language menu lists stay as they are.
void LoadDefaultTexts();

/// Fills AppConfig from the settings file: the preferred language (SAVED_VARS/PREF_LANG) and,
/// when one is named, its file (LANG_FILES). Without a settings file AppConfig stays as it was.
void ReadLanguageSettings();

/// Makes name the current language, its file looked up in the settings file's LANG_FILES
/// (empty when the key or the file is missing).
void SelectLanguage(const QString& name);

/// Stores LangName as PREF_LANG when the settings file exists; the file is never created.
/// Returns false, with the reason in errorText when given, if the file could not be written;
/// the file is then left as it was, and the caller goes on with what it was doing.
bool SavePreferredLanguage(QString* errorText = nullptr);

/// Replaces the language menu lists and all catalogue texts from the language file at path;
/// keys the file lacks become empty. Copyright gets the fixed ownership notice appended.
/// Does nothing when no file exists at path.
void LoadLanguageFile(const QString& path);

} // namespace korvell
