#pragma once
// Lets files dropped onto a window join the playlist: accepts drags that carry local files and
// hands their paths on.
#include <QObject>
#include <QStringList>
#include <functional>

namespace mirado {

class FileDropFilter final : public QObject {
public:
    using Receiver = std::function<void(const QStringList& paths)>;
    explicit FileDropFilter(Receiver receiver) : receiver_(std::move(receiver)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Receiver receiver_;
};

}  // namespace mirado
