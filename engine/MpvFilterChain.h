#pragma once
#include <mpv/client.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace mirado {

// The value of mpv's "vf" property for a chain of one filter with string options, as an mpv_node tree
// that owns the memory it points into. Passing a node spares quoting the options in mpv's text syntax.
class MpvFilterChain {
public:
    using Options = std::vector<std::pair<std::string, std::string>>;

    MpvFilterChain(const std::string& name, const Options& options);
    MpvFilterChain(const MpvFilterChain&) = delete;
    MpvFilterChain& operator=(const MpvFilterChain&) = delete;

    mpv_node* node() { return &root_; }

private:
    char* keep(const std::string& text);

    std::deque<std::string> texts_;
    std::vector<char*> optionKeys_;
    std::vector<mpv_node> optionValues_;
    char* filterKeys_[2] = {};
    mpv_node filterValues_[2] = {};
    mpv_node filter_{};
    mpv_node_list optionList_{};
    mpv_node_list filterMap_{};
    mpv_node_list chain_{};
    mpv_node root_{};
};

}  // namespace mirado
