#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CPulseConnection;
struct pa_context;
struct pa_operation;

// The microphone settings over PulseAudio: the default source stands for the
// recording destination, its ports are the items of a single-choice source
// selector, and the source's volume (muted to normal) is the microphone volume.
// Shows no messages; every operation returns 1 or 0. A server that does not answer
// within a few seconds fails the operation and closes the mixer.
class CMixer {
public:
    CMixer();
    ~CMixer();
    CMixer(const CMixer&) = delete;
    CMixer& operator=(const CMixer&) = delete;

    int Open();
    int Close();
    int FindMicrophoneItem();
    int FindVolumeControl();
    int IsMicrophoneSelected();
    int SelectMicrophone();
    uint32_t GetMicVolume();
    int SetMicVolume(uint32_t value);
    uint32_t GetVolumeMinimum() const;
    uint32_t GetVolumeMaximum() const;

    bool IsMicrophoneFound() const { return m_pulse && m_itemCount > 0 && m_micIndex < m_itemCount; }

    // What the last look at the default source found.
    struct Source {
        std::string name;
        std::vector<std::string> portNames;
        std::vector<std::string> portDescriptions;
        enum class PortType { Other, Microphone, Headset };
        std::vector<PortType> portTypes;
        std::string activePort;
        bool isMicrophone = false;
        uint8_t channels = 0;
        bool found = false;
    };
    static constexpr uint32_t kNone = 0xFFFFFFFF;
    // The microphone among the source's ports: the first port of microphone or
    // headset type, else the first whose description holds "Microphone"; a source
    // without ports is its own only item. kNone when there is none.
    static uint32_t MicrophoneItem(const Source& source);

private:
    // Starts one request and waits for its answer (bounded); a server that did not
    // answer closes the mixer, so the next operations fail at once.
    bool Query(const std::function<pa_operation*(pa_context*)>& request);
    bool ReadSource();

    uint32_t m_numDevs = 0;
    std::unique_ptr<CPulseConnection> m_pulse;
    uint32_t m_itemCount = 0;
    uint32_t m_micIndex = kNone;
    uint32_t m_channels = 0;
    uint32_t m_volumeControl = 0;
    Source m_source;
};
