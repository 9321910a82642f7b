#pragma once
// A skin kept as plain files under a folder (handy while editing a skin).
#include "SkinStore.h"

namespace mirado {

class FolderSkinStore final : public SkinStore {
public:
    explicit FolderSkinStore(QString root) : m_root(std::move(root)) {}
    std::optional<QByteArray> read(const QString& path) const override;

private:
    QString m_root;
};

} // namespace mirado
