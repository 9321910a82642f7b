#include "MpvFilterChain.h"

namespace mirado {

char* MpvFilterChain::keep(const std::string& text) { return texts_.emplace_back(text).data(); }

MpvFilterChain::MpvFilterChain(const std::string& name, const Options& options) {
    for (const auto& [key, value] : options) {
        optionKeys_.push_back(keep(key));
        mpv_node text{};
        text.format = MPV_FORMAT_STRING;
        text.u.string = keep(value);
        optionValues_.push_back(text);
    }
    optionList_ = {int(options.size()), optionValues_.data(), optionKeys_.data()};

    filterKeys_[0] = keep("name");
    filterKeys_[1] = keep("params");
    filterValues_[0].format = MPV_FORMAT_STRING;
    filterValues_[0].u.string = keep(name);
    filterValues_[1].format = MPV_FORMAT_NODE_MAP;
    filterValues_[1].u.list = &optionList_;
    filterMap_ = {2, filterValues_, filterKeys_};
    filter_.format = MPV_FORMAT_NODE_MAP;
    filter_.u.list = &filterMap_;

    chain_ = {1, &filter_, nullptr};
    root_.format = MPV_FORMAT_NODE_ARRAY;
    root_.u.list = &chain_;
}

}  // namespace mirado
