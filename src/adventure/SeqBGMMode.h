#pragma once

#include "adventure/SeqExtraBase.h"

#include <cstdint>

// The music room: the rows of DBBGMMode as radio buttons (btn_bgmselect, local index = row ID), played on
// the music channels with play, stop, previous and next, and tip_playing beside the playing track's
// button. It offers every track of the table and keeps no unlock state; every entry stops the music.
class SeqBGMMode : public SeqExtraBase
{
public:
    // Row IDs 1..59 can be tracks; row 0 is never one.
    static constexpr int32_t kMaxTrack = 59;
    // The indicator stands this far left of the select button.
    static constexpr float kIndicatorOffset = 37.0f;

    explicit SeqBGMMode(GxTaskBase* parent);
    ~SeqBGMMode() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;

    // Rows from ID 1 with a FileName, stopping at the first without one.
    static int32_t CountTracks();

    int32_t GetTrackCount() const { return m_TrackCount; }
    int32_t GetCurrentTrack() const { return m_CurrentTrack; }

private:
    // Selects the track's button, plays it, turns btn_bgmplay on and moves the indicator.
    void SelectAndPlay(int32_t track);
    // "bgms/" + FileName endlessly, fade-in 500 ms, the row's loop position; not restarted when the music
    // record already names the file.
    void PlayTrack(int32_t track);
    void CheckRadio(const wchar_t* name, int32_t index);
    void UpdateIndicator();

    int32_t m_TrackCount = 0;
    int32_t m_CurrentTrack = 0;
};
