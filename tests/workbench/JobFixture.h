#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "TreeFiles.h"
#include "container/ContainerReader.h"
#include "container/Utf.h"
#include "workbench/EncryptJob.h"

namespace mirado::testing {

// A source folder "clips" and an empty destination folder "out" in a fresh temporary folder.
class JobFixture : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path source = dir / "clips";
    std::filesystem::path out = dir / "out";
    ContainerKey key = AdditiveKeyCipher::keyFromPassword(u"secret12");
    FileTreeSearch search;

    void SetUp() override {
        std::filesystem::create_directories(source);
        std::filesystem::create_directories(out);
    }

    EncryptOutcome run(const std::filesystem::path& from, const EncryptProgress& progress = {}) {
        EncryptRequest request;
        request.source = from;
        request.destinationFolder = out;
        request.key = key;
        return runEncryptJob(request, search, progress);
    }
    EncryptOutcome run() { return run(source); }

    // Everything below `root`, folders with a trailing "/", sorted.
    static std::vector<std::string> treeOf(const std::filesystem::path& root) {
        std::vector<std::string> entries;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            entries.push_back(entry.path().lexically_relative(root).string() + (entry.is_directory() ? "/" : ""));
        }
        std::sort(entries.begin(), entries.end());
        return entries;
    }

    // The container opens under the job's key, names its source and holds exactly the source's bytes.
    void expectHolds(const std::filesystem::path& container, const std::filesystem::path& original,
                     const std::string& sourceName = {}) {
        SCOPED_TRACE(container.string());
        ContainerReader reader;
        reader.setKey(key);
        ASSERT_TRUE(reader.open(container));
        ASSERT_EQ(reader.records().size(), 1u);
        EXPECT_EQ(toUtf8(reader.records()[0].sourceName), sourceName.empty() ? original.filename().string() : sourceName);
        const auto expected = readFile(original);
        ASSERT_EQ(reader.records()[0].payloadSize, expected.size());
        if (expected.empty()) return;
        std::vector<std::uint8_t> payload(expected.size());
        std::int64_t got = 0;
        ASSERT_TRUE(reader.readWholePayload(payload.data(), std::int64_t(payload.size()), got));
        EXPECT_TRUE(payload == expected);
    }
};

}  // namespace mirado::testing
