#include "words/CMixer.h"

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

bool CMixer::Wait(pa_operation* op)
{
    if (!op)
        return false;
    while (pa_operation_get_state(op) == PA_OPERATION_RUNNING)
        if (pa_mainloop_iterate(m_mainloop, 1, nullptr) < 0)
            break;
    const bool done = pa_operation_get_state(op) == PA_OPERATION_DONE;
    pa_operation_unref(op);
    return done;
}

int CMixer::Open()
{
    Close();
    m_itemCount = 0;
    m_micIndex = kNone;
    m_volumeControl = 0;
    m_mainloop = pa_mainloop_new();
    if (!m_mainloop)
        return 0;
    m_context = pa_context_new(pa_mainloop_get_api(m_mainloop), "Kelto4");
    if (!m_context || pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        Close();
        return 0;
    }
    for (;;) {
        const pa_context_state_t state = pa_context_get_state(m_context);
        if (state == PA_CONTEXT_READY)
            break;
        if (!PA_CONTEXT_IS_GOOD(state) || pa_mainloop_iterate(m_mainloop, 1, nullptr) < 0) {
            Close();
            return 0;
        }
    }
    m_numDevs = 1;
    return 1;
}

int CMixer::Close()
{
    if (m_context) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
    if (m_mainloop) {
        pa_mainloop_free(m_mainloop);
        m_mainloop = nullptr;
    }
    return 1;
}

bool CMixer::ReadSource()
{
    if (!m_context)
        return false;
    std::string defaultSource;
    auto serverInfo = [](pa_context*, const pa_server_info* info, void* user) {
        if (info && info->default_source_name)
            *static_cast<std::string*>(user) = info->default_source_name;
    };
    if (!Wait(pa_context_get_server_info(m_context, serverInfo, &defaultSource)) || defaultSource.empty())
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
            s->portIsMic.push_back(info->ports[i]->type == PA_DEVICE_PORT_TYPE_MIC);
        }
        if (info->active_port)
            s->activePort = info->active_port->name;
        const char* formFactor = pa_proplist_gets(info->proplist, PA_PROP_DEVICE_FORM_FACTOR);
        s->isMicrophone = formFactor && (std::strcmp(formFactor, "microphone") == 0 || std::strcmp(formFactor, "webcam") == 0);
    };
    return Wait(pa_context_get_source_info_by_name(m_context, defaultSource.c_str(), sourceInfo, &m_source))
        && m_source.found;
}

uint32_t CMixer::MicrophoneItem(const Source& source)
{
    if (source.portNames.empty())
        return source.isMicrophone ? 0 : kNone;
    for (size_t i = 0; i < source.portNames.size(); ++i)
        if (i < source.portIsMic.size() && source.portIsMic[i])
            return uint32_t(i);
    for (size_t i = 0; i < source.portNames.size(); ++i)
        if (i < source.portDescriptions.size() && source.portDescriptions[i] == "Microphone")
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
    if (!m_context || !m_source.found)
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
    if (!Wait(pa_context_set_source_port_by_name(m_context, m_source.name.c_str(),
                                                 m_source.portNames[m_micIndex].c_str(), done, &success)))
        return 0;
    return success ? 1 : 0;
}

uint32_t CMixer::GetMicVolume()
{
    if (!m_volumeControl || !m_context)
        return 0;
    pa_cvolume volume{};
    auto sourceInfo = [](pa_context*, const pa_source_info* info, int eol, void* user) {
        if (!eol && info)
            *static_cast<pa_cvolume*>(user) = info->volume;
    };
    if (!Wait(pa_context_get_source_info_by_name(m_context, m_source.name.c_str(), sourceInfo, &volume))
        || volume.channels == 0)
        return 0;
    return volume.values[0];
}

int CMixer::SetMicVolume(uint32_t value)
{
    if (!m_context || !m_volumeControl)
        return 0;
    pa_cvolume volume;
    pa_cvolume_set(&volume, m_channels ? uint8_t(m_channels) : 1, pa_volume_t(value));
    auto done = [](pa_context*, int success, void* user) { *static_cast<int*>(user) = success; };
    int success = 0;
    if (!Wait(pa_context_set_source_volume_by_name(m_context, m_source.name.c_str(), &volume, done, &success)))
        return 0;
    return success ? 1 : 0;
}

uint32_t CMixer::GetVolumeMinimum() const
{
    return m_context && m_volumeControl ? PA_VOLUME_MUTED : 1;
}

uint32_t CMixer::GetVolumeMaximum() const
{
    return m_context && m_volumeControl ? PA_VOLUME_NORM : 1;
}
