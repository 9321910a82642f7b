#pragma once
// The child window everything the player shows appears in: the engine's video, or a picture
// decoded here, fitted and watermarked. It also owns full screen and the play bar shown there.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "ui/WindowImplBase.h"

class CPlayBarFrame;

class CVideoRealWnd : public WindowImplBase {
public:
    CVideoRealWnd();
    ~CVideoRealWnd() override;

    // A plain picture file, without watermark. False (and nothing changed) when it cannot be decoded.
    bool showPictureFile(const std::filesystem::path& path);
    // A picture deciphered from a container into memory; the caller keeps owning `data`.
    bool showPictureBuffer(const std::uint8_t* data, std::size_t size, std::u16string_view sourceName,
                           std::u16string_view watermarkText, std::uint8_t position, std::uint8_t colour,
                           std::uint8_t fontSize);
    // Ends the picture on show (timer 10 killed, pictureShown cleared); the engine is not touched.
    void stopPicture();
    // The next paint redraws the picture (after a layout change of the main window).
    void requestRedraw();

    void toggleFullScreen();
    void setPlayBarVisible(bool show);
    bool isFullScreen() const;
    bool isPictureShown() const;

    CPlayBarFrame* playBar() const;
    // The play bar keeps itself up while the user works with it.
    bool isBarShown() const;
    void noteActivity();

    // Framework slots.
    const char16_t* ClassNameOfWindow() const override { return u"VideoRealWnd"; }
    CDuiString SkinFolderName() const override { return CDuiString(u"Res"); }
    CDuiString SkinFileName() const override { return CDuiString(u"VideoRealWnd.xml"); }
    UILIB_RESOURCETYPE SkinResourceKind() const override { return UILIB_ZIPRESOURCE; }
    int SkinResourceId() const override { return 135; }
    void PrepareControls() override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    // Escape and Enter are the surface's own keys (full screen, pause), never a close.
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

private:
    void putPictureOnShow();
    // Draws the picture on show in a paint; false when there is nothing to draw yet.
    bool paintPicture();
    // A click pauses a playing video or resumes a paused one; pictures are left alone.
    void togglePlaybackFromClick();

    struct State;
    std::unique_ptr<State> m_state;
};
