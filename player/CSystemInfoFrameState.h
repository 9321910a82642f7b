#pragma once
// What the settings window keeps between messages; shared by its source files only.
#include <optional>
#include <string>

#include "CSystemInfoFrame.h"
#include "SettingsJobRunner.h"

class CListUI;
class CTabLayoutUI;

struct CSystemInfoFrame::State {
    explicit State(JobFunction job) : runner(std::move(job)) {}

    CTabLayoutUI* pages = nullptr;  // "tab_fun"
    CListUI* pageList = nullptr;    // "list_type"
    std::u16string sourcePath;
    std::u16string destinationPath;
    mirado::SettingsJobRunner runner;  // holds the file search, made and destroyed with the window
    bool askingToClose = false;        // the close question is open: the job's end waits for its answer
    std::optional<UINT> closeWhenDone; // the close code to use once the stopped job has ended
};

// The page's controls, by name.
namespace settings_controls {
inline constexpr char16_t kPages[] = u"tab_fun";
inline constexpr char16_t kPageList[] = u"list_type";
inline constexpr char16_t kClose[] = u"btn_close";
inline constexpr char16_t kFileMode[] = u"chk_encodefile";
inline constexpr char16_t kFolderMode[] = u"chk_encodedir";
inline constexpr char16_t kSourceEdit[] = u"edit_encode_filepath";
inline constexpr char16_t kChooseSource[] = u"btn_openfile";
inline constexpr char16_t kDestinationEdit[] = u"edit_encode_dstpath";
inline constexpr char16_t kChooseDestination[] = u"btn_opendstpath";
inline constexpr char16_t kPassword[] = u"edit_encode_psw";
inline constexpr char16_t kContainerFormat[] = u"comb_containerformat";
inline constexpr char16_t kContainerFormatTip[] = u"txt_containerformattip";
inline constexpr char16_t kWatermark[] = u"chk_watermark";
inline constexpr char16_t kWatermarkText[] = u"edit_water_content";
inline constexpr char16_t kWatermarkColour[] = u"comb_watercolor";
inline constexpr char16_t kWatermarkFontSize[] = u"comb_waterfontsize";
inline constexpr char16_t kWatermarkPosition[] = u"comb_waterpos";
inline constexpr char16_t kStart[] = u"btn_encodefile";
inline constexpr char16_t kCancel[] = u"btn_cancelencode";
inline constexpr char16_t kProgressBar[] = u"progress_encode";
inline constexpr char16_t kProgressText[] = u"txt_encodeprogress";
}  // namespace settings_controls

template <class T> T* CSystemInfoFrame::Find(const char16_t* name) const {
    return dynamic_cast<T*>(m_PaintManager.FindControl(CDuiString(name)));
}
