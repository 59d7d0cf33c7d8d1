// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "localisation/Appvars.h"
#include "localisation/IniFile.h"
#include "localisation/ProgramFolder.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace korvell;

namespace {

const QString kLangDir = QStringLiteral(KORVELL_TEST_DATA "/lang/");
const QString kDataDir = QStringLiteral(KORVELL_DATA_DIR "/");

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TApplicationVar defaultCatalogue() {
    const TApplicationVar saved = AppTexts;
    LoadDefaultTexts();
    TApplicationVar defaults = AppTexts;
    AppTexts = saved;
    return defaults;
}

} // namespace

class TestAppvars : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void catalogueStartsEmpty();
    void keyTable();
    void builtInTexts_data();
    void builtInTexts();
    void defaultsKeepLanguageMenu();
    void loadPartialFile();
    void loadFileWithoutMenu_data();
    void loadFileWithoutMenu();
    void loadMissingFileChangesNothing();
    void loadTwiceIsLoadOnce();
    void readLanguageSettings_data();
    void readLanguageSettings();
    void selectLanguage_data();
    void selectLanguage();
    void savePreferredLanguage();
    void saveNeverCreatesSettings();
    void saveFailureIsReported();
    void shippedLanguageFiles_data();
    void shippedLanguageFiles();
    void shippedSettings();
    void portugueseTexts();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestAppvars::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    ProgramFolder::setPath(m_dir->path());
    AppTexts = TApplicationVar();
    AppConfig = TAppConfigVar();
}

void TestAppvars::cleanup() {
    ProgramFolder::setPath(QString());
    m_dir.reset();
}

void TestAppvars::catalogueStartsEmpty() {
    const TApplicationVar fresh;
    for (const TApplicationVar::TextEntry& entry : TApplicationVar::textEntries()) {
        QVERIFY2((fresh.*entry.member).isEmpty(), entry.key);
    }
    QVERIFY(!fresh.langMenuLoaded);
}

void TestAppvars::keyTable() {
    const auto entries = TApplicationVar::textEntries();
    QCOMPARE(entries.size(), std::size_t{95});
    QCOMPARE(QString::fromLatin1(entries.front().key), QString("HeaderPanel"));
    QCOMPARE(QString::fromLatin1(entries.back().key), QString("WORD_EVA"));

    // Each key reaches its own member, and only the three context-menu keys sit in MATRIX_POPUP.
    TApplicationVar texts;
    QSet<QString> keys;
    QStringList popup;
    int number = 0;
    for (const TApplicationVar::TextEntry& entry : entries) {
        texts.*entry.member = QString::number(number++);
        keys.insert(QString::fromLatin1(entry.key));
        const QString section = QString::fromLatin1(entry.section);
        QVERIFY2(section == "TEXT_LIB" || section == "MATRIX_POPUP", entry.key);
        if (section == "MATRIX_POPUP") {
            popup.append(QString::fromLatin1(entry.key));
        }
    }
    QCOMPARE(keys.size(), 95);
    QCOMPARE(popup, (QStringList{"LMinorGrid", "LGrid_ShowAll", "LGRid_HideAll"}));
    number = 0;
    for (const TApplicationVar::TextEntry& entry : entries) {
        QCOMPARE(texts.text(entry.key), QString::number(number++));
    }
    QCOMPARE(texts.text("LGrid_HideAll"), QString());
    QCOMPARE(texts.text("NoSuchKey"), QString());
}

void TestAppvars::builtInTexts_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("hint") << "HeaderPanel"
                          << "  Hint: Double click on matrices to edit values or insert new products";
    QTest::newRow("table hint") << "HeaderPanel_TABLE"
                                << "  Hint: Edit or Insert products and values";
    QTest::newRow("exported") << "MSG_Exported"
                              << "Jpeg created in ";
    QTest::newRow("close text") << "MSG_Close_TEXT"
                                << "Do you wish to close Korvell application ?";
    QTest::newRow("close title") << "MSG_Close_TITLE"
                                 << "Korvell";
    QTest::newRow("needed capability") << "G_NC_Title"
                                       << "Needed \"Capability\"";
    QTest::newRow("betting") << "LBatting"
                             << "Betting";
    QTest::newRow("hide all") << "LGRid_HideAll"
                              << "Hide All";
    QTest::newRow("minor grid") << "LMinorGrid"
                                << "Minor Grid";
    QTest::newRow("misfit") << "LDisadjusted"
                            << "Misfit";
    QTest::newRow("limited") << "LSlim"
                             << "Limited";
    QTest::newRow("enlarged") << "LRobust"
                              << "Enlarged";
    QTest::newRow("msd simple") << "L_VBI_MSD_4"
                                << "Simple";
    QTest::newRow("nc factory") << "L_VBI_NC_4"
                                << "Factory";
    QTest::newRow("turning around") << "LTurningaround"
                                    << "Turning-around";
    QTest::newRow("msd left axis") << "G_MSD_LeftAxis"
                                   << "Qualitative demands";
    QTest::newRow("pm bottom axis") << "G_PM_BottomAxis"
                                    << "Supply/Number of Competitors";
    QTest::newRow("eva bottom axis") << "G_EVA_BottomAxis"
                                     << "Cost of Capital";
    QTest::newRow("cc title") << "G_CC_Title"
                              << "Cost of Capital";
    QTest::newRow("data tab") << "WORD_DataGrid"
                              << "Data";
    QTest::newRow("map tab") << "WORD_MAP"
                             << "Strategy";
    QTest::newRow("vbi tab") << "WORD_VBI"
                             << "Innovation";
    QTest::newRow("eva tab") << "WORD_EVA"
                             << "Economic Value";
    QTest::newRow("product") << "WORD_Product"
                             << "Product";
    QTest::newRow("copyright") << "Copyright"
                               << "Copyright (c) 2026 Korvell";
}

void TestAppvars::builtInTexts() {
    QFETCH(QString, key);
    QFETCH(QString, expected);
    LoadDefaultTexts();
    QCOMPARE(AppTexts.text(key), expected);
    if (key == "G_NC_Title") {
        QCOMPARE(AppTexts.G_NC_Title.size(), 19);
    }
}

void TestAppvars::defaultsKeepLanguageMenu() {
    LoadDefaultTexts();
    for (const TApplicationVar::TextEntry& entry : TApplicationVar::textEntries()) {
        QVERIFY2(!(AppTexts.*entry.member).isEmpty(), entry.key);
    }
    QVERIFY(!AppTexts.langMenuLoaded);
    QVERIFY(AppTexts.LangMenuKeys.isEmpty());

    LoadLanguageFile(kLangDir + "partial.lng");
    const QStringList keys = AppTexts.LangMenuKeys;
    const QStringList captions = AppTexts.LangMenuCaptions;
    QCOMPARE(keys.size(), 3);

    LoadDefaultTexts();
    TApplicationVar expected = defaultCatalogue();
    expected.LangMenuKeys = keys;
    expected.LangMenuCaptions = captions;
    expected.langMenuLoaded = true;
    QCOMPARE(AppTexts, expected);
}

void TestAppvars::loadPartialFile() {
    LoadDefaultTexts();
    LoadLanguageFile(kLangDir + "partial.lng");

    QVERIFY(AppTexts.langMenuLoaded);
    QCOMPARE(AppTexts.LangMenuKeys, (QStringList{"Portuguese", "Deutsch", "English"}));
    QCOMPARE(AppTexts.LangMenuCaptions, (QStringList{QString::fromUtf8("Português"), QString(), "English"}));

    QCOMPARE(AppTexts.HeaderPanel, QString::fromUtf8("  Sugestão: duplo clique"));
    QCOMPARE(AppTexts.LBatting, QString("Apostar"));
    QCOMPARE(AppTexts.LGrid_ShowAll, QString("Mostrar todas"));
    // Equal English texts are separate entries with translations of their own.
    QCOMPARE(AppTexts.G_EVA_BottomAxis, QString("Custo do Capital"));
    QCOMPARE(AppTexts.G_CC_Title, QString("Custo de Capital"));
    // A key in the wrong section is not found; a missing key is empty, never English.
    QCOMPARE(AppTexts.LMinorGrid, QString());
    QCOMPARE(AppTexts.WORD_Product, QString());
    QCOMPARE(AppTexts.MSG_Close_TITLE, QString());
    QCOMPARE(AppTexts.Copyright, QString(" (c) 2026 Korvell"));
}

void TestAppvars::loadFileWithoutMenu_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("copyright");
    QTest::newRow("no LANG_MENU") << "nomenu.lng"
                                  << "Sem menu (c) 2026 Korvell";
    QTest::newRow("empty LANG_MENU") << "emptymenu.lng"
                                     << "Menu vazio (c) 2026 Korvell";
}

void TestAppvars::loadFileWithoutMenu() {
    QFETCH(QString, file);
    QFETCH(QString, copyright);
    LoadLanguageFile(kLangDir + "partial.lng");
    QCOMPARE(AppTexts.LangMenuKeys.size(), 3);

    LoadLanguageFile(kLangDir + file);
    QVERIFY(AppTexts.langMenuLoaded);
    QCOMPARE(AppTexts.LangMenuKeys, QStringList());
    QCOMPARE(AppTexts.LangMenuCaptions, QStringList());
    QCOMPARE(AppTexts.Copyright, copyright);
    QCOMPARE(AppTexts.WORD_Product, QString("Produto"));
    QCOMPARE(AppTexts.LBatting, QString());
}

void TestAppvars::loadMissingFileChangesNothing() {
    LoadLanguageFile(kLangDir + "missing.lng");
    QCOMPARE(AppTexts, TApplicationVar());

    LoadDefaultTexts();
    LoadLanguageFile(kLangDir + "partial.lng");
    const TApplicationVar before = AppTexts;
    LoadLanguageFile(kLangDir + "missing.lng");
    LoadLanguageFile(kLangDir); // a folder is no language file
    QCOMPARE(AppTexts, before);
}

void TestAppvars::loadTwiceIsLoadOnce() {
    LoadLanguageFile(kDataDir + "Portuguese.lng");
    const TApplicationVar once = AppTexts;
    LoadLanguageFile(kDataDir + "Portuguese.lng");
    QCOMPARE(AppTexts, once);
    QCOMPARE(AppTexts.Copyright, QString("Direitos de autor (c) 2026 Korvell"));
}

void TestAppvars::readLanguageSettings_data() {
    QTest::addColumn<bool>("hasFile");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("langName");
    QTest::addColumn<QString>("langFile");

    const QByteArray files = "[LANG_FILES]\r\nEnglish=English.lng\r\nPortuguese=Portuguese.lng\r\n";
    // AppConfig starts as {"Before", "before.lng"}.
    QTest::newRow("no settings file") << false << QByteArray() << "Before"
                                      << "before.lng";
    QTest::newRow("preferred") << true << "[SAVED_VARS]\r\nPREF_LANG=Portuguese\r\n" + files << "Portuguese"
                               << "Portuguese.lng";
    QTest::newRow("other letter case") << true << "[saved_vars]\r\npref_lang=portuguese\r\n" + files << "portuguese"
                                       << "Portuguese.lng";
    QTest::newRow("no PREF_LANG") << true << files << ""
                                  << "before.lng";
    QTest::newRow("empty PREF_LANG") << true << "[SAVED_VARS]\r\nPREF_LANG=\r\n" + files << ""
                                     << "before.lng";
    QTest::newRow("not in LANG_FILES") << true << "[SAVED_VARS]\r\nPREF_LANG=Deutsch\r\n" + files << "Deutsch"
                                       << "";
    QTest::newRow("no LANG_FILES") << true << QByteArray("[SAVED_VARS]\r\nPREF_LANG=English\r\n") << "English"
                                   << "";
}

void TestAppvars::readLanguageSettings() {
    QFETCH(bool, hasFile);
    QFETCH(QByteArray, settings);
    QFETCH(QString, langName);
    QFETCH(QString, langFile);
    if (hasFile) {
        QVERIFY(writeAll(settingsFilePath(), settings));
    }
    AppConfig = TAppConfigVar{"Before", "before.lng"};
    ReadLanguageSettings();
    QCOMPARE(AppConfig.LangName, langName);
    QCOMPARE(AppConfig.LangFile, langFile);
}

void TestAppvars::selectLanguage_data() {
    QTest::addColumn<bool>("hasFile");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("langFile");
    QTest::newRow("listed") << true << "Portuguese"
                            << "Portuguese.lng";
    QTest::newRow("not listed") << true << "Deutsch"
                                << "";
    QTest::newRow("no settings file") << false << "Portuguese"
                                      << "";
}

void TestAppvars::selectLanguage() {
    QFETCH(bool, hasFile);
    QFETCH(QString, name);
    QFETCH(QString, langFile);
    if (hasFile) {
        QVERIFY(writeAll(settingsFilePath(), "[LANG_FILES]\nEnglish=English.lng\nPortuguese=Portuguese.lng\n"));
    }
    AppConfig = TAppConfigVar{"English", "English.lng"};
    SelectLanguage(name);
    QCOMPARE(AppConfig.LangName, name);
    QCOMPARE(AppConfig.LangFile, langFile);
}

void TestAppvars::savePreferredLanguage() {
    const QByteArray before = "; Korvell\r\n[LANG_FILES]\r\nEnglish=English.lng\r\nPortuguese=Portuguese.lng\r\n\r\n"
                              "[SAVED_VARS]\r\nPREF_LANG=English\r\nSHOW_IMPORT=1\r\n";
    QVERIFY(writeAll(settingsFilePath(), before));

    SelectLanguage("Portuguese");
    QVERIFY(SavePreferredLanguage());
    QByteArray expected = before;
    expected.replace("PREF_LANG=English", "PREF_LANG=Portuguese");
    QCOMPARE(readAll(settingsFilePath()), expected);

    AppConfig = TAppConfigVar();
    ReadLanguageSettings();
    QCOMPARE(AppConfig.LangName, QString("Portuguese"));
    QCOMPARE(AppConfig.LangFile, QString("Portuguese.lng"));

    // A name the settings do not list is written back unchanged; an empty one writes an empty value.
    SelectLanguage("Deutsch");
    QVERIFY(SavePreferredLanguage());
    QCOMPARE(IniFile::readString(settingsFilePath(), "SAVED_VARS", "PREF_LANG"), QString("Deutsch"));
    AppConfig.LangName.clear();
    QVERIFY(SavePreferredLanguage());
    expected.replace("PREF_LANG=Portuguese", "PREF_LANG=");
    QCOMPARE(readAll(settingsFilePath()), expected);
}

void TestAppvars::saveNeverCreatesSettings() {
    AppConfig = TAppConfigVar{"Portuguese", "Portuguese.lng"};
    QVERIFY(SavePreferredLanguage());
    QVERIFY(!QFile::exists(settingsFilePath()));
}

void TestAppvars::saveFailureIsReported() {
    const QByteArray before = "[SAVED_VARS]\r\nPREF_LANG=English\r\n";
    QVERIFY(writeAll(settingsFilePath(), before));

    // A name the file's code page cannot hold must not be stored as question marks.
    AppConfig.LangName = QString::fromUtf8("日本語");
    QString error;
    QVERIFY(!SavePreferredLanguage(&error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(readAll(settingsFilePath()), before);
}

void TestAppvars::shippedLanguageFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("English") << "English.lng";
    QTest::newRow("Portuguese") << "Portuguese.lng";
}

void TestAppvars::shippedLanguageFiles() {
    QFETCH(QString, file);
    const IniFile ini = IniFile::load(kDataDir + file);
    QCOMPARE(ini.keys("TEXT_LIB").size(), 92);
    QCOMPARE(ini.keys("MATRIX_POPUP").size(), 3);
    for (const TApplicationVar::TextEntry& entry : TApplicationVar::textEntries()) {
        QVERIFY2(ini.keys(entry.section).contains(QString::fromLatin1(entry.key)), entry.key);
        QVERIFY2(!ini.value(entry.section, entry.key).isEmpty(), entry.key);
    }
    QCOMPARE(ini.keys("LANG_MENU"), (QStringList{"English", "Portuguese"}));
    QCOMPARE(ini.value("LANG_MENU", "Portuguese"), QString::fromUtf8("Português"));
    QCOMPARE(ini.value("LANG_MENU", "English"), QString("English"));

    // The blanks and quotes of the texts survive the file format.
    LoadLanguageFile(kDataDir + file);
    QVERIFY(AppTexts.HeaderPanel.startsWith("  ") && !AppTexts.HeaderPanel.startsWith("   "));
    QVERIFY(AppTexts.MSG_Exported.endsWith(" "));
    QVERIFY(AppTexts.G_NC_Title.count('"') == 2);
}

void TestAppvars::shippedSettings() {
    ProgramFolder::setPath(kDataDir);
    ReadLanguageSettings();
    QCOMPARE(AppConfig.LangName, QString("English"));
    QCOMPARE(AppConfig.LangFile, QString("English.lng"));
    QCOMPARE(IniFile::readString(settingsFilePath(), "SAVED_VARS", "SHOW_IMPORT"), QString("1"));

    // Every language that a language menu offers has its file next to the program.
    const QStringList languages = IniFile::sectionKeys(settingsFilePath(), "LANG_FILES");
    QCOMPARE(languages, (QStringList{"English", "Portuguese"}));
    for (const QString& language : languages) {
        SelectLanguage(language);
        QVERIFY2(QFile::exists(ProgramFolder::filePath(AppConfig.LangFile)), qPrintable(language));
        LoadLanguageFile(ProgramFolder::filePath(AppConfig.LangFile));
        QCOMPARE(AppTexts.LangMenuKeys, languages);
    }

    // The English file carries exactly the built-in texts.
    SelectLanguage("English");
    LoadLanguageFile(ProgramFolder::filePath(AppConfig.LangFile));
    TApplicationVar expected = defaultCatalogue();
    expected.LangMenuKeys = AppTexts.LangMenuKeys;
    expected.LangMenuCaptions = AppTexts.LangMenuCaptions;
    expected.langMenuLoaded = true;
    QCOMPARE(AppTexts, expected);
}

void TestAppvars::portugueseTexts() {
    LoadLanguageFile(kDataDir + "Portuguese.lng");
    QCOMPARE(AppTexts.LangMenuCaptions, (QStringList{"English", QString::fromUtf8("Português")}));
    QCOMPARE(AppTexts.G_NC_Title, QString::fromUtf8("\"Capacidade\" Necessária"));
    QCOMPARE(AppTexts.WORD_EVA, QString::fromUtf8("Valor Económico"));
    QCOMPARE(AppTexts.LMinorGrid, QString::fromUtf8("Grelha secundária"));
    QCOMPARE(AppTexts.MSG_Close_TEXT, QString::fromUtf8("Deseja fechar a aplicação Korvell ?"));
    QCOMPARE(AppTexts.MSG_Exported, QString("Jpeg criado em "));
    QCOMPARE(AppTexts.LHigh, QString("Elevado"));
    QCOMPARE(AppTexts.L_VBI_MSD_2, QString("Elevada"));
}

QTEST_GUILESS_MAIN(TestAppvars)
#include "tst_appvars.moc"
