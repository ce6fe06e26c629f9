// Which of a source's ports stands for the microphone.
#include "sound/CMixer.h"

#include <gtest/gtest.h>

namespace {
constexpr auto O = CMixer::Source::PortType::Other;
constexpr auto M = CMixer::Source::PortType::Microphone;
constexpr auto H = CMixer::Source::PortType::Headset;

struct Case {
    const char* name;
    std::vector<std::string> descriptions;
    std::vector<CMixer::Source::PortType> types;
    bool sourceIsMic;
    uint32_t expected;
};

class MicrophoneItem : public ::testing::TestWithParam<Case> {};

TEST_P(MicrophoneItem, IsTheMicOrHeadsetTypedPortElseThePortDescribedAsAMicrophone)
{
    const Case& c = GetParam();
    CMixer::Source source;
    for (size_t i = 0; i < c.descriptions.size(); ++i)
        source.portNames.push_back("port-" + std::to_string(i));
    source.portDescriptions = c.descriptions;
    source.portTypes = c.types;
    source.isMicrophone = c.sourceIsMic;
    EXPECT_EQ(CMixer::MicrophoneItem(source), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ports, MicrophoneItem,
    ::testing::Values(
        Case{"typed_port_wins_over_name", {"Microphone", "Headset"}, {O, M}, false, 1},
        Case{"first_typed_port", {"Line In", "Front Mic", "Rear Mic"}, {O, M, M}, false, 1},
        Case{"headset_port", {"Line In", "Headset"}, {O, H}, false, 1},
        Case{"name_when_no_type", {"Line In", "Microphone"}, {O, O}, false, 1},
        Case{"name_is_case_sensitive", {"microphone", "Line In"}, {O, O}, true, CMixer::kNone},
        Case{"name_holding_microphone", {"Line In", "Front Microphone"}, {O, O}, false, 1},
        Case{"no_ports_source_is_mic", {}, {}, true, 0},
        Case{"no_ports_not_mic", {}, {}, false, CMixer::kNone}),
    [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });
}
