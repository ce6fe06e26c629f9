// Which of a source's ports stands for the microphone.
#include "words/CMixer.h"

#include <gtest/gtest.h>

namespace {
struct Case {
    const char* name;
    std::vector<std::string> descriptions;
    std::vector<bool> isMic;
    bool sourceIsMic;
    uint32_t expected;
};

class MicrophoneItem : public ::testing::TestWithParam<Case> {};

TEST_P(MicrophoneItem, IsTheMicTypedPortElseThePortNamedMicrophone)
{
    const Case& c = GetParam();
    CMixer::Source source;
    for (size_t i = 0; i < c.descriptions.size(); ++i)
        source.portNames.push_back("port-" + std::to_string(i));
    source.portDescriptions = c.descriptions;
    source.portIsMic = c.isMic;
    source.isMicrophone = c.sourceIsMic;
    EXPECT_EQ(CMixer::MicrophoneItem(source), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ports, MicrophoneItem,
    ::testing::Values(
        Case{"typed_port_wins_over_name", {"Microphone", "Headset"}, {false, true}, false, 1},
        Case{"first_typed_port", {"Line In", "Front Mic", "Rear Mic"}, {false, true, true}, false, 1},
        Case{"name_when_no_type", {"Line In", "Microphone"}, {false, false}, false, 1},
        Case{"name_is_case_sensitive", {"microphone", "Line In"}, {false, false}, true, CMixer::kNone},
        Case{"name_is_exact", {"Microphone 2", "Front Microphone"}, {false, false}, false, CMixer::kNone},
        Case{"no_ports_source_is_mic", {}, {}, true, 0},
        Case{"no_ports_not_mic", {}, {}, false, CMixer::kNone}),
    [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });
}
