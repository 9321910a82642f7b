#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QString>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "container/ContainerReader.h"
#include "player/CSystemInfoFrame.h"
#include "tests/support/TempDir.h"
#include "ui/CComboUI.h"
#include "ui/CEditUI.h"
#include "ui/COptionUI.h"
#include "ui/CProgressUI.h"
#include "ui/testing/UiTestHarness.h"

namespace mirado::testing {

inline const QString kNoSource = QStringLiteral("请选择要加密的文件或目录.");
inline const QString kNoDestination = QStringLiteral("请选择要保存的目录.");
inline const QString kEmptyPassword = QStringLiteral("请输入密码");
inline const QString kPasswordRule = QStringLiteral("密码只能由数字和字母组成,长度6至16位");
inline const QString kNoWatermarkText = QStringLiteral("启动水印功能，您必须填入水印内容。");
inline const QString kFileDone = QStringLiteral("加密文件成功!请到保存目录下查看.");
inline const QString kFileFailed = QStringLiteral("加密文件失败!确保磁盘是否足够。在加密过程中不能删除源文件。");
inline QString folderDone(int count) { return QStringLiteral("加密 %1 个文件成功!请到保存目录下查看.").arg(count); }

// A settings window on screen, the recording message box and scripted choosers, and a fresh folder
// with a source folder "clips" and a destination "out".
class SettingsFixture : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path source = dir / "clips";
    std::filesystem::path out = dir / "out";
    ServiceScope services;
    std::unique_ptr<CSystemInfoFrame> window;

    void SetUp() override {
        std::filesystem::create_directories(source);
        std::filesystem::create_directories(out);
    }
    void TearDown() override {
        if (window && window->GetHWND()) window->Close(IDOK);
        window.reset();
        runFor(0);
    }

    void open(CSystemInfoFrame::JobFunction job = runEncryptJob) {
        window = std::make_unique<CSystemInfoFrame>(std::move(job));
        ASSERT_TRUE(createShown(*window, "SystemConfigFrame"));
    }

    template <class T> T* find(const char16_t* name) {
        return dynamic_cast<T*>(window->GetPaintManager().FindControl(CDuiString(name)));
    }
    QString textOf(const char16_t* name) { return find<CControlUI>(name)->GetText().toQString(); }
    bool checked(const char16_t* name) { return find<CCheckBoxUI>(name)->GetCheck(); }
    bool clickOn(const char16_t* name) { return click(*window, QString::fromUtf16(name)); }

    // The choosers answer with the given path when the button is clicked; an empty path is a cancel.
    void chooseSourceFile(const std::filesystem::path& path) {
        services.files->answers.push_back(path.empty() ? QStringList() : QStringList{qPath(path)});
        ASSERT_TRUE(clickOn(u"btn_openfile"));
    }
    void chooseSourceByBrowser(const std::filesystem::path& path) {
        services.folders->answers.push_back(qPath(path));
        ASSERT_TRUE(clickOn(u"btn_openfile"));
    }
    void chooseDestination(const std::filesystem::path& path) {
        services.folders->answers.push_back(qPath(path));
        ASSERT_TRUE(clickOn(u"btn_opendstpath"));
    }
    // Selects whatever the edit holds and types over it.
    void retype(const char16_t* name, const QString& text) {
        ASSERT_TRUE(typeInto(*window, QString::fromUtf16(name), QString()));
        pressKey(*window, Qt::Key_A, Qt::ControlModifier);
        pressKey(*window, Qt::Key_Backspace);
        ASSERT_TRUE(typeInto(*window, QString::fromUtf16(name), text));
    }
    // Text as an input method hands it over (a person typing Chinese), into the focused edit.
    void commitInput(const char16_t* name, const QString& text) {
        ASSERT_TRUE(typeInto(*window, QString::fromUtf16(name), QString()));
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(find<CEditUI>(name)->GetNativeEdit(), &event);
    }
    void setWatermark(bool on) {
        if (checked(u"chk_watermark") != on) {
            ASSERT_TRUE(clickOn(u"chk_watermark"));
        }
    }
    void pressStart() { ASSERT_TRUE(clickOn(u"btn_encodefile")); }

    std::vector<QString> messageTexts() const {
        std::vector<QString> texts;
        for (const ShownMessage& shown : services.messages->shown) texts.push_back(shown.text);
        return texts;
    }
    // Runs the event loop until `done` holds or the time is up; true when it holds.
    static bool waitUntil(const std::function<bool()>& done, int ms = 10000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            runFor(5);
        }
        return true;
    }
    // The job started from the window has ended and told its outcome (or ended silently).
    bool waitForJobEnd() { return waitUntil([this] { return !window->IsEncrypting(); }); }

    // Everything below `root`, folders with a trailing "/", sorted.
    static std::vector<std::string> treeOf(const std::filesystem::path& root) {
        std::vector<std::string> entries;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            entries.push_back(entry.path().lexically_relative(root).string() + (entry.is_directory() ? "/" : ""));
        }
        std::sort(entries.begin(), entries.end());
        return entries;
    }

    // The container's record when it opens with the password's key.
    static std::optional<ContainerInfoRecord> recordOf(const std::filesystem::path& container, std::u16string_view password) {
        ContainerReader reader;
        reader.setKey(AdditiveKeyCipher::keyFromPassword(password));
        if (!reader.open(container) || reader.records().size() != 1) return std::nullopt;
        return reader.records()[0];
    }
    // The container opens with the password and holds exactly the original's bytes.
    static void expectHolds(const std::filesystem::path& container, const std::filesystem::path& original,
                            std::u16string_view password) {
        SCOPED_TRACE(container.string());
        ContainerReader reader;
        reader.setKey(AdditiveKeyCipher::keyFromPassword(password));
        ASSERT_TRUE(reader.open(container));
        const auto expected = readFile(original);
        ASSERT_EQ(reader.records().at(0).payloadSize, expected.size());
        std::vector<std::uint8_t> payload(expected.size());
        std::int64_t got = 0;
        if (!expected.empty()) {
            ASSERT_TRUE(reader.readWholePayload(payload.data(), std::int64_t(payload.size()), got));
        }
        EXPECT_TRUE(payload == expected);
    }

    static QString qPath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }
};

// A file of `size` bytes whose bytes tell it apart from its neighbours.
inline void makeFile(const std::filesystem::path& path, std::size_t size = 100) {
    writeFile(path, patternBytes(size, std::uint32_t(std::hash<std::string>{}(path.filename().string()))));
}

}  // namespace mirado::testing
