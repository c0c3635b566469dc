#pragma once

#include <cstdint>
#include <string>

// The lord's lesson for the story's first defence: the lines of scripts/war.txt at "*CASTLE_DEFENCE" that
// tell a new player what to put where on the defence screen, each beside what it asks for. samplegen
// writes the lines into the script in place of the line kSampleDefenceLessonMark; tools/zorsim
// --first-defence does what they ask and no more, so its check that the stage is won checks these words.
//
// The places are named as the screen shows them: the throne room's 3 x 3 floor is an orange diamond
// whose middle cell takes no unit; its four slots, the cells beside the middle, lie at the middle of the
// diamond's four sides, up-left, up-right, down-left and down-right of the middle. Where the room has a
// dug neighbour, the doorway is a green square just outside the side.
struct SampleDefenceLesson
{
    enum class Act
    {
        Explain,       // how to do what a later line asks; nothing to do by itself
        PlaceInThrone, // m_Count ready units of the kind m_Name, one in each slot of the throne room
        BuildBeside,   // the facility m_Name in the first dug room beside the throne that takes it
    };

    Act m_Act;
    int32_t m_Count;
    const char* m_Name;  // the Name column of the unit's or the facility's table row
    const char* m_Words; // what the lord says, UTF-8
};

// The lesson's lines in the order they are said.
inline constexpr SampleDefenceLesson kSampleDefenceLesson[] = {
    {SampleDefenceLesson::Act::Explain, 0, "",
     "画面下の札からゴブリンをつかみ、玉座の間へドラッグせよ。橙色の床の真ん中には置けぬ。"},
    {SampleDefenceLesson::Act::Explain, 0, "",
     "置けるのは真ん中を囲む左上・右上・左下・右下の四つのマス、床の四辺の中ほどだ。マスが白く光ったら放せ。"},
    {SampleDefenceLesson::Act::PlaceInThrone, 4, "goblin",
     "ゴブリンを一体ずつ、四つのマスすべてに置け。一体では守りきれぬ。床の外の緑の四角は隣室への出入口で、置けぬ。"},
    {SampleDefenceLesson::Act::BuildBeside, 1, "ossuary",
     "次に、隣の空き部屋をクリックし、「建設」から骨置き場を建てよ。骨が集まる。"},
};

// The speaker of every line, as the script names him.
inline constexpr const char* kSampleDefenceLessonSpeaker = "ゾルデ";

// The line of the story source that the lesson replaces.
inline constexpr const char* kSampleDefenceLessonMark = "//#defence-lesson";

// One lesson line as the script says it: the speaker, then the words in corner brackets.
inline std::string SampleDefenceLessonLine(const SampleDefenceLesson& line)
{
    return std::string(kSampleDefenceLessonSpeaker) + "「" + line.m_Words + "」";
}
