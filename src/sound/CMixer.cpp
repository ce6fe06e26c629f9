#include "sound/CMixer.h"

#include "sound/CPulseConnection.h"

#include <pulse/pulseaudio.h>

#include <cstring>

CMixer::CMixer()
{
    if (Open()) {
        FindMicrophoneItem();
        FindVolumeControl();
    }
}

CMixer::~CMixer()
{
    Close();
}

bool CMixer::Query(const std::function<pa_operation*(pa_context*)>& request)
{
    if (!m_pulse)
        return false;
    bool answered = false;
    bool timedOut = false;
    {
        CPulseConnection::Lock lock(*m_pulse);
        answered = m_pulse->Wait(request(m_pulse->Context()));
        timedOut = !answered && m_pulse->ErrorText() == CPulseConnection::kNoAnswer;
    }
    if (timedOut)
        Close();
    return answered;
}

int CMixer::Open()
{
    Close();
    m_itemCount = 0;
    m_micIndex = kNone;
    m_volumeControl = 0;
    auto pulse = std::make_unique<CPulseConnection>();
    if (!pulse->Connect("Kelto4"))
        return 0;
    m_pulse = std::move(pulse);
    m_numDevs = 1;
    return 1;
}

int CMixer::Close()
{
    m_pulse.reset();
    return 1;
}

bool CMixer::ReadSource()
{
    if (!m_pulse)
        return false;
    std::string defaultSource;
    auto serverInfo = [](pa_context*, const pa_server_info* info, void* user) {
        if (info && info->default_source_name)
            *static_cast<std::string*>(user) = info->default_source_name;
    };
    if (!Query([&](pa_context* c) { return pa_context_get_server_info(c, serverInfo, &defaultSource); })
        || defaultSource.empty())
        return false;
    m_source = Source();
    auto sourceInfo = [](pa_context*, const pa_source_info* info, int eol, void* user) {
        if (eol || !info)
            return;
        auto* s = static_cast<Source*>(user);
        s->found = true;
        s->name = info->name;
        s->channels = info->volume.channels;
        for (uint32_t i = 0; i < info->n_ports; ++i) {
            s->portNames.emplace_back(info->ports[i]->name);
            s->portDescriptions.emplace_back(info->ports[i]->description ? info->ports[i]->description : "");
            const uint32_t type = info->ports[i]->type;
            s->portTypes.push_back(type == PA_DEVICE_PORT_TYPE_MIC      ? Source::PortType::Microphone
                                   : type == PA_DEVICE_PORT_TYPE_HEADSET ? Source::PortType::Headset
                                                                         : Source::PortType::Other);
        }
        if (info->active_port)
            s->activePort = info->active_port->name;
        const char* formFactor = pa_proplist_gets(info->proplist, PA_PROP_DEVICE_FORM_FACTOR);
        s->isMicrophone = formFactor && (std::strcmp(formFactor, "microphone") == 0 || std::strcmp(formFactor, "webcam") == 0);
    };
    Source found;
    if (!Query([&](pa_context* c) {
            return pa_context_get_source_info_by_name(c, defaultSource.c_str(), sourceInfo, &found);
        }))
        return false;
    m_source = found;
    return m_source.found;
}

uint32_t CMixer::MicrophoneItem(const Source& source)
{
    if (source.portNames.empty())
        return source.isMicrophone ? 0 : kNone;
    for (size_t i = 0; i < source.portNames.size(); ++i)
        if (i < source.portTypes.size() && source.portTypes[i] != Source::PortType::Other)
            return uint32_t(i);
    for (size_t i = 0; i < source.portNames.size(); ++i)
        if (i < source.portDescriptions.size() && source.portDescriptions[i].find("Microphone") != std::string::npos)
            return uint32_t(i);
    return kNone;
}

int CMixer::FindMicrophoneItem()
{
    m_micIndex = kNone;
    m_itemCount = 0;
    if (!ReadSource())
        return 0;
    m_itemCount = m_source.portNames.empty() ? 1 : uint32_t(m_source.portNames.size());
    m_micIndex = MicrophoneItem(m_source);
    return IsMicrophoneFound() ? 1 : 0;
}

int CMixer::FindVolumeControl()
{
    m_volumeControl = 0;
    if (!m_pulse || !m_source.found)
        return 0;
    if (!IsMicrophoneFound())
        return 1;
    m_channels = m_source.channels;
    m_volumeControl = 1;
    return 1;
}

int CMixer::IsMicrophoneSelected()
{
    if (!IsMicrophoneFound() || !ReadSource())
        return 0;
    if (m_source.portNames.empty())
        return m_source.isMicrophone ? 1 : 0;
    return m_source.activePort == m_source.portNames[m_micIndex] ? 1 : 0;
}

int CMixer::SelectMicrophone()
{
    if (!IsMicrophoneFound() || m_source.portNames.empty())
        return 0;
    auto done = [](pa_context*, int success, void* user) { *static_cast<int*>(user) = success; };
    int success = 0;
    if (!Query([&](pa_context* c) {
            return pa_context_set_source_port_by_name(c, m_source.name.c_str(), m_source.portNames[m_micIndex].c_str(),
                                                      done, &success);
        }))
        return 0;
    return success ? 1 : 0;
}

uint32_t CMixer::GetMicVolume()
{
    if (!m_volumeControl || !m_pulse)
        return 0;
    pa_cvolume volume{};
    auto sourceInfo = [](pa_context*, const pa_source_info* info, int eol, void* user) {
        if (!eol && info)
            *static_cast<pa_cvolume*>(user) = info->volume;
    };
    if (!Query([&](pa_context* c) {
            return pa_context_get_source_info_by_name(c, m_source.name.c_str(), sourceInfo, &volume);
        })
        || volume.channels == 0)
        return 0;
    return volume.values[0];
}

int CMixer::SetMicVolume(uint32_t value)
{
    if (!m_pulse || !m_volumeControl)
        return 0;
    pa_cvolume volume;
    pa_cvolume_set(&volume, m_channels ? uint8_t(m_channels) : 1, pa_volume_t(value));
    auto done = [](pa_context*, int success, void* user) { *static_cast<int*>(user) = success; };
    int success = 0;
    if (!Query([&](pa_context* c) {
            return pa_context_set_source_volume_by_name(c, m_source.name.c_str(), &volume, done, &success);
        }))
        return 0;
    return success ? 1 : 0;
}

uint32_t CMixer::GetVolumeMinimum() const
{
    return m_pulse && m_volumeControl ? PA_VOLUME_MUTED : 1;
}

uint32_t CMixer::GetVolumeMaximum() const
{
    return m_pulse && m_volumeControl ? PA_VOLUME_NORM : 1;
}
