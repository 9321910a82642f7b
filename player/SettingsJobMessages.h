#pragma once
#include <QString>
#include <optional>

#include "workbench/EncryptOutcome.h"

namespace mirado {

inline constexpr char16_t kFileEncryptedMessage[] = u"加密文件成功!请到保存目录下查看.";
inline constexpr char16_t kFileFailedMessage[] = u"加密文件失败!确保磁盘是否足够。在加密过程中不能删除源文件。";
inline constexpr char16_t kFolderEncryptedMessage[] = u"加密 %d 个文件成功!请到保存目录下查看.";

// What the user is told when a job ends, or nothing: a source that vanished before the job began
// and a walk that ran out of memory end silently. A stopped job, of either kind, reports the
// containers it finished, as a folder job does.
std::optional<QString> finalMessageFor(const EncryptOutcome& outcome);

}  // namespace mirado
