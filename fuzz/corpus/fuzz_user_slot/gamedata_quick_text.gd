TGD	100
1a	m_SaveTime	19	"2026/01/01 00:00:00"
1a	m_GameDataTitle	4	"seed"
1a	m_RestoreSequence	10	"SeqAvgMain"
1a	m_RestoreSubParam	0	""
0b	m_IsSelecting	1
05	m_LastSelectNum	0
05	m_CancelSelectNum	0
1a	m_SelectHash	0	""
20	m_SelectMenuItemList		11	{
1a	m_Text	0	""
1a	m_Label	0	""
0b	m_Enable	1
0b	m_Visible	1
0b	m_BeforeSelected	0
0b	m_UseGosub	0
1a	m_Text	6	"はい"
1a	m_Label	3	"YES"
0b	m_Enable	1
0b	m_Visible	1
0b	m_BeforeSelected	0
0b	m_UseGosub	0
1a	m_Text	9	"いいえ"
1a	m_Label	0	""
0b	m_Enable	1
0b	m_Visible	1
0b	m_BeforeSelected	0
0b	m_UseGosub	1
1a	m_Text	0	""
1a	m_Label	0	""
0b	m_Enable	1
0b	m_Visible	1
0b	m_BeforeSelected	0
0b	m_UseGosub	0
1a	m_Text	0	""
1a	m_Label	0	""
0b	m_Enable	1
0b	m_Visible	1
0b	m_BeforeSelected	0
0b	m_UseGosub	0
1a	m_Text	0	""
1a	m_Label	0	""
0b	m_Enable	1
0b	m_Visible	1
0b	m_BeforeSelected	0
0b	m_UseGosub	0
1a	m_Text	0	""
1a	m_Label	0	""
0b	m_Enable	1
0b	m_Visible	1
0b	m_BeforeSelected	0
0b	m_UseGosub	0
1a	m_Text	0	""
1a	m_Label	0	""
0b	m_Enable	1
0b	m_Visible	1
0b	m_BeforeSelected	0
0b	m_UseGosub	0
1a	m_Text	0	""
1a	m_Label	0	""
0b	m_Enable	1
0b	m_Visible	1
0b	m_BeforeSelected	0
0b	m_UseGosub	0
1a	m_Text	0	""
1a	m_Label	0	""
0b	m_Enable	1
0b	m_Visible	1
0b	m_BeforeSelected	0
0b	m_UseGosub	0
1a	m_Text	0	""
1a	m_Label	0	""
0b	m_Enable	1
0b	m_Visible	1
0b	m_BeforeSelected	0
0b	m_UseGosub	0
21	}
05	m_Hold_WaitClick	0
05	m_Hold_WaitTime	0
05	m_Hold_WaitTime_TimeLeft	0
05	m_Hold_EndOfMovie	0
05	m_Hold_EndOfLayerActionAll	0
05	m_Hold_EndOfLayerActionSeparate	0
1a	m_Hold_EndOfLayerActionSeparate_LayerName	0	""
05	m_Hold_EndOfBGM	0
05	m_Hold_EndOfBGV	0
05	m_Hold_EndOfSE	0
05	m_Hold_EndOfVoice	0
05	m_NameIdentifyMode	2
0b	m_IgnoreKinsoku	0
05	m_LastDialogResult	0
20	GxMessageLogElement		3	{
1a	m_Name	9	"リリス"
1a	m_Message	6	"line 0"
0b	m_IgnoreKinsoku	0
0b	m_DisenableAutoNewline	0
0b	m_ShowNameByText	1
1a	m_VoiceFileName	0	""
05	m_VoiceCharID	0
1a	m_VoiceFileName	0	""
05	m_VoiceCharID	0
1a	m_VoiceFileName	0	""
05	m_VoiceCharID	0
1a	m_VoiceFileName	0	""
05	m_VoiceCharID	0
1a	m_Name	9	"リリス"
1a	m_Message	6	"line 1"
0b	m_IgnoreKinsoku	0
0b	m_DisenableAutoNewline	0
0b	m_ShowNameByText	1
1a	m_VoiceFileName	0	""
05	m_VoiceCharID	0
1a	m_VoiceFileName	0	""
05	m_VoiceCharID	0
1a	m_VoiceFileName	0	""
05	m_VoiceCharID	0
1a	m_VoiceFileName	0	""
05	m_VoiceCharID	0
1a	m_Name	9	"リリス"
1a	m_Message	6	"line 2"
0b	m_IgnoreKinsoku	0
0b	m_DisenableAutoNewline	0
0b	m_ShowNameByText	1
1a	m_VoiceFileName	0	""
05	m_VoiceCharID	0
1a	m_VoiceFileName	0	""
05	m_VoiceCharID	0
1a	m_VoiceFileName	0	""
05	m_VoiceCharID	0
1a	m_VoiceFileName	0	""
05	m_VoiceCharID	0
21	}
0b	m_HideWindowByCommandFlag	0
05	m_VariablesSize	1
06	m_ValueType	25
1a	m_Str	1	"x"
05	m_Scope	9
1a	m_Name	4	"flag"
05	m_VariablesSize	1
06	m_ValueType	7
07	m_IntOfFloat	4
05	m_Scope	6
1a	m_Name	3	"day"
05	m_pScriptEntitySize	1
1a	m_ScriptName	4	"main"
05	m_VariablesSize	2
06	m_ValueType	7
07	m_IntOfFloat	3
05	m_Scope	3
1a	m_Name	5	"count"
06	m_ValueType	39
05	m_ArraySize	3
06	m_ValueType	254
06	m_ValueType	25
1a	m_Str	3	"Aki"
06	m_ValueType	254
05	m_Scope	3
1a	m_Name	5	"names"
1a	m_Name	11	"MAIN_WORKER"
20	m_ExecStack		1	{
05	m_BlockType	1
05	m_Line	11
05	m_Pos	10
1a	m_ScriptName	4	"main"
05	m_VariablesSize	1
06	m_ValueType	39
05	m_ArraySize	3
06	m_ValueType	7
07	m_IntOfFloat	1
06	m_ValueType	25
1a	m_Str	3	"two"
06	m_ValueType	10
07	m_IntOfFloat	4615063718147915776
05	m_Scope	1
1a	m_Name	5	"local"
20	m_OpcodeList		12	{
06	m_ValueType	253
07	m_Int	2
06	m_ValueType	7
07	m_IntOfFloat	1
06	m_ValueType	253
07	m_Int	4
06	m_ValueType	25
1a	m_Str	3	"two"
06	m_ValueType	253
07	m_Int	3
06	m_ValueType	10
07	m_IntOfFloat	4615063718147915776
06	m_ValueType	253
07	m_Int	12
06	m_ValueType	7
07	m_IntOfFloat	3
06	m_ValueType	253
07	m_Int	13
06	m_ValueType	253
07	m_Int	42
06	m_ValueType	253
07	m_Int	8
06	m_ValueType	25
1a	m_Str	5	"local"
21	}
05	m_OpcodePos	12
21	}
20	m_ValueStack		1	{
06	m_ValueType	39
05	m_ArraySize	3
06	m_ValueType	7
07	m_IntOfFloat	1
06	m_ValueType	25
1a	m_Str	3	"two"
06	m_ValueType	10
07	m_IntOfFloat	4615063718147915776
21	}
06	m_ValueType	254
1a	m_FileName	14	"bgms/bgm01.ogg"
05	m_Loop	1
06	m_StartSeekPosTime	0
06	m_LoopPosTime	1000
05	m_FadeInTime	500
05	m_CharID	0
1a	m_FileName	0	""
05	m_Loop	0
06	m_StartSeekPosTime	0
06	m_LoopPosTime	0
05	m_FadeInTime	0
05	m_CharID	0
1a	m_FileName	0	""
05	m_Loop	0
06	m_StartSeekPosTime	0
06	m_LoopPosTime	0
05	m_FadeInTime	0
05	m_CharID	0
1a	m_FileName	0	""
05	m_Loop	0
06	m_StartSeekPosTime	0
06	m_LoopPosTime	0
05	m_FadeInTime	0
05	m_CharID	0
1a	m_FileName	0	""
05	m_Loop	0
06	m_StartSeekPosTime	0
06	m_LoopPosTime	0
05	m_FadeInTime	0
05	m_CharID	0
1a	m_FileName	0	""
05	m_Loop	0
06	m_StartSeekPosTime	0
06	m_LoopPosTime	0
05	m_FadeInTime	0
05	m_CharID	0
1a	m_FileName	22	"voices/lilith/v001.ogg"
05	m_Loop	0
06	m_StartSeekPosTime	0
06	m_LoopPosTime	0
05	m_FadeInTime	0
05	m_CharID	2
1a	m_FileName	0	""
05	m_Loop	0
06	m_StartSeekPosTime	0
06	m_LoopPosTime	0
05	m_FadeInTime	0
05	m_CharID	0
1a	m_FileName	0	""
05	m_Loop	0
06	m_StartSeekPosTime	0
06	m_LoopPosTime	0
05	m_FadeInTime	0
05	m_CharID	0
1a	m_FileName	0	""
05	m_Loop	0
06	m_StartSeekPosTime	0
06	m_LoopPosTime	0
05	m_FadeInTime	0
05	m_CharID	0
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_LayerType	0
05	m_IndexPos	0
0b	m_Transit	0
05	m_TransitTimeLeft	0
05	m_TransitTimeTotal	0
0b	m_Shake	0
0d	m_ShakeAmplitude	0.000000	0.000000	0.000000
05	m_ShakeTimeLeft	0
05	m_ShakeTimeTotal	0
05	m_MovieAutoDisappearTime	0
05	m_LocalTransitMode	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	-100.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		2	{
05	m_ActionType	0
05	m_TimeLeft	500
05	m_TimeTotal	500
0d	m_Start	0.000000	0.000000	0.000000
0d	m_End	0.000000	0.000000	0.000000
06	m_InterMode	1
05	m_InterParam	0
0b	m_InitCompleted	0
05	m_ActionType	1
05	m_TimeLeft	300
05	m_TimeTotal	300
0d	m_Start	0.000000	0.000000	0.000000
0d	m_End	255.000000	0.000000	0.000000
06	m_InterMode	1
05	m_InterParam	0
0b	m_InitCompleted	0
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_ContentType	5
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	640
05	m_Height	480
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	0.125490	0.250980	0.376471	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_LayerType	2
05	m_IndexPos	1
0b	m_Transit	0
05	m_TransitTimeLeft	0
05	m_TransitTimeTotal	0
0b	m_Shake	0
0d	m_ShakeAmplitude	0.000000	0.000000	0.000000
05	m_ShakeTimeLeft	0
05	m_ShakeTimeTotal	0
05	m_MovieAutoDisappearTime	0
05	m_LocalTransitMode	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	-10.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		2	{
05	m_ActionType	2
05	m_TimeLeft	400
05	m_TimeTotal	400
0d	m_Start	0.000000	0.000000	0.000000
0d	m_End	32.000000	-16.000000	0.000000
06	m_InterMode	1
05	m_InterParam	0
0b	m_InitCompleted	0
05	m_ActionType	9
05	m_TimeLeft	0
05	m_TimeTotal	0
0d	m_Start	0.000000	0.000000	0.000000
0d	m_End	0.000000	0.000000	0.000000
06	m_InterMode	1
05	m_InterParam	0
0b	m_InitCompleted	0
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_LayerType	2
05	m_IndexPos	0
0b	m_Transit	0
05	m_TransitTimeLeft	0
05	m_TransitTimeTotal	0
0b	m_Shake	0
0d	m_ShakeAmplitude	0.000000	0.000000	0.000000
05	m_ShakeTimeLeft	0
05	m_ShakeTimeTotal	0
05	m_MovieAutoDisappearTime	0
05	m_LocalTransitMode	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	-20.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_LayerType	2
05	m_IndexPos	0
0b	m_Transit	0
05	m_TransitTimeLeft	0
05	m_TransitTimeTotal	0
0b	m_Shake	0
0d	m_ShakeAmplitude	0.000000	0.000000	0.000000
05	m_ShakeTimeLeft	0
05	m_ShakeTimeTotal	0
05	m_MovieAutoDisappearTime	800
05	m_LocalTransitMode	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	10000.000000
05	m_Alpha	128
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_ContentType	5
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	640
05	m_Height	480
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_LayerType	3
05	m_IndexPos	1
0b	m_Transit	0
05	m_TransitTimeLeft	0
05	m_TransitTimeTotal	0
0b	m_Shake	0
0d	m_ShakeAmplitude	0.000000	0.000000	0.000000
05	m_ShakeTimeLeft	0
05	m_ShakeTimeTotal	0
05	m_MovieAutoDisappearTime	0
05	m_LocalTransitMode	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	10001.000000
05	m_Alpha	0
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_ContentType	5
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	640
05	m_Height	480
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	0.000000	0.000000	0.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_LayerType	2
05	m_IndexPos	1
0b	m_Transit	0
05	m_TransitTimeLeft	0
05	m_TransitTimeTotal	0
0b	m_Shake	0
0d	m_ShakeAmplitude	0.000000	0.000000	0.000000
05	m_ShakeTimeLeft	0
05	m_ShakeTimeTotal	0
05	m_MovieAutoDisappearTime	0
05	m_LocalTransitMode	1
20	StandLayers		0	{
24	{
1a	LayerName	3	"Aki"
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		2	{
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
0c	m_OffsetPos	0.000000	0.000000
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
0c	m_OffsetPos	0.000000	0.000000
21	}
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		2	{
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
0c	m_OffsetPos	0.000000	0.000000
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
0c	m_OffsetPos	0.000000	0.000000
21	}
05	m_LayerType	2
05	m_IndexPos	0
0b	m_Transit	0
05	m_TransitTimeLeft	0
05	m_TransitTimeTotal	0
0b	m_Shake	0
0d	m_ShakeAmplitude	0.000000	0.000000	0.000000
05	m_ShakeTimeLeft	0
05	m_ShakeTimeTotal	0
05	m_MovieAutoDisappearTime	0
05	m_LocalTransitMode	1
25	}
24	{
1a	LayerName	4	"Beni"
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_LayerType	2
05	m_IndexPos	0
0b	m_Transit	0
05	m_TransitTimeLeft	0
05	m_TransitTimeTotal	0
0b	m_Shake	0
0d	m_ShakeAmplitude	0.000000	0.000000	0.000000
05	m_ShakeTimeLeft	0
05	m_ShakeTimeTotal	0
05	m_MovieAutoDisappearTime	0
05	m_LocalTransitMode	1
25	}
21	}
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
0b	m_Enabled	1
0a	m_Value	0.000000
0a	m_Max	0.000000
0a	m_Min	0.000000
0a	m_Change	0.000000
05	m_GroupID	0
05	m_ModuleID	0
1a	m_Text	72	"リリス「ようこそ、≪魔王城／まおうじょう≫へ。」"
1a	m_Label	0	""
05	m_AutoHelpTime	-1
1a	m_Descript	0	""
05	m_Width	0
05	m_Height	0
05	m_ClientLeft	0
05	m_ClientTop	0
05	m_ClientWidth	0
05	m_ClientHeight	0
05	m_ShapeType	0
0b	m_ModalFlag	0
05	m_ModalPriority	1
0b	m_TopMostFlag	0
05	m_ImageAlpha	255
05	m_EventState	0
05	m_HoverCount	0
06	m_EventReportFlags	4294967295
0b	m_EventBlockFlag	1
1a	m_Text	72	"リリス「ようこそ、≪魔王城／まおうじょう≫へ。」"
20	m_ShowChars		15	{
04	m_Char	12522
0d	m_OffsetPos	0.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
04	m_Char	12522
0d	m_OffsetPos	27.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
04	m_Char	12473
0d	m_OffsetPos	54.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
04	m_Char	12300
0d	m_OffsetPos	81.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
04	m_Char	12424
0d	m_OffsetPos	108.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
04	m_Char	12358
0d	m_OffsetPos	135.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
04	m_Char	12371
0d	m_OffsetPos	162.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
04	m_Char	12381
0d	m_OffsetPos	189.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
04	m_Char	12289
0d	m_OffsetPos	216.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
04	m_Char	39764
0d	m_OffsetPos	243.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
04	m_Char	29579
0d	m_OffsetPos	270.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
04	m_Char	22478
0d	m_OffsetPos	297.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
04	m_Char	12408
0d	m_OffsetPos	324.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
04	m_Char	12290
0d	m_OffsetPos	351.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
04	m_Char	12301
0d	m_OffsetPos	378.000000	0.000000	0.000000
06	m_Color	4294967295
0b	m_ChangeColorFlag	0
21	}
20	m_Rubies		1	{
1a	m_Text	18	"まおうじょう"
05	m_RubyCharWidth	66
05	m_RubyUnderCharWidth	81
0d	m_OffsetPos	228.000000	0.000000	0.000000
21	}
05	m_TextRegionLeft	0
05	m_TextRegionTop	0
05	m_TextRegionWidth	800
05	m_TextRegionHeight	600
05	m_TextFontIndex	2
05	m_RubyFontIndex	0
05	m_TextFontSize	23
05	m_RubyFontSize	11
05	m_TextMarginWidth	4
05	m_RubyMarginHeight	11
05	m_TextTotalHeight	35
05	m_ProcessPos	24
0b	m_RubyMode	0
05	m_CursorX	405
05	m_CursorY	0
06	m_TextColor	4294967295
06	m_ShadowColor	2147483648
0b	m_ChangeColor	0
0b	m_VisibleText	1
0b	m_UseShadow	1
0b	m_EnableAutoClickWait	1
0b	m_ClickWaiting	1
0b	m_ReadedFlag	0
0b	m_IgnoreKinsoku	0
0b	m_DisenableAutoNewline	0
05	m_WaitTimeLeft	900
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
0b	m_Enabled	1
0a	m_Value	0.000000
0a	m_Max	0.000000
0a	m_Min	0.000000
0a	m_Change	0.000000
05	m_GroupID	0
05	m_ModuleID	0
1a	m_Text	0	""
1a	m_Label	0	""
05	m_AutoHelpTime	-1
1a	m_Descript	0	""
05	m_Width	0
05	m_Height	0
05	m_ClientLeft	0
05	m_ClientTop	0
05	m_ClientWidth	0
05	m_ClientHeight	0
05	m_ShapeType	0
0b	m_ModalFlag	0
05	m_ModalPriority	1
0b	m_TopMostFlag	0
05	m_ImageAlpha	255
05	m_EventState	0
05	m_HoverCount	0
06	m_EventReportFlags	4294967295
0b	m_EventBlockFlag	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_ContentType	0
05	m_Alpha	255
1a	m_ContentFileName	0	""
05	m_Width	0
05	m_Height	0
1a	m_ImageName	0	""
05	m_PatternIndex	0
05	m_FrameCount	0
1a	m_MotionGroupName	0	""
1a	m_MotionName	0	""
11	m_MatWorld	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000	0.000000	0.000000	0.000000	0.000000	1.000000
10	m_SolidColor	1.000000	1.000000	1.000000	1.000000
06	m_MyChannel	0
05	m_LoopCount	0
0a	m_LoopStartPos	0.000000
0a	m_MovieCurrentTime	0.000000
0b	m_MovieAutoDisappear	1
20	m_pSubLayerList		0	{
21	}
05	m_LayerType	0
05	m_IndexPos	0
0b	m_Transit	0
05	m_TransitTimeLeft	0
05	m_TransitTimeTotal	0
0b	m_Shake	0
0d	m_ShakeAmplitude	0.000000	0.000000	0.000000
05	m_ShakeTimeLeft	0
05	m_ShakeTimeTotal	0
05	m_MovieAutoDisappearTime	0
05	m_LocalTransitMode	1
20	SelectButtons		11	{
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
0b	m_Enabled	1
0a	m_Value	0.000000
0a	m_Max	0.000000
0a	m_Min	0.000000
0a	m_Change	0.000000
05	m_GroupID	0
05	m_ModuleID	0
1a	m_Text	0	""
1a	m_Label	0	""
05	m_AutoHelpTime	-1
1a	m_Descript	0	""
05	m_Width	0
05	m_Height	0
05	m_ClientLeft	0
05	m_ClientTop	0
05	m_ClientWidth	0
05	m_ClientHeight	0
05	m_ShapeType	0
0b	m_ModalFlag	0
05	m_ModalPriority	1
0b	m_TopMostFlag	0
05	m_ImageAlpha	255
05	m_EventState	0
05	m_HoverCount	0
06	m_EventReportFlags	4294967295
0b	m_EventBlockFlag	1
1a	m_ImageName	0	""
1a	m_ImageSetName	0	""
05	m_ImageIndex	0
05	m_PatternIndex	0
05	m_TextFontIndex	2
05	m_TextFontSize	23
06	m_TextColor	4294967295
06	m_EdgeColor	2147483648
0b	m_UseEdge	1
05	m_AutoAlign	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
0b	m_Enabled	1
0a	m_Value	0.000000
0a	m_Max	0.000000
0a	m_Min	0.000000
0a	m_Change	0.000000
05	m_GroupID	0
05	m_ModuleID	0
1a	m_Text	0	""
1a	m_Label	0	""
05	m_AutoHelpTime	-1
1a	m_Descript	0	""
05	m_Width	0
05	m_Height	0
05	m_ClientLeft	0
05	m_ClientTop	0
05	m_ClientWidth	0
05	m_ClientHeight	0
05	m_ShapeType	0
0b	m_ModalFlag	0
05	m_ModalPriority	1
0b	m_TopMostFlag	0
05	m_ImageAlpha	255
05	m_EventState	0
05	m_HoverCount	0
06	m_EventReportFlags	4294967295
0b	m_EventBlockFlag	1
1a	m_ImageName	0	""
1a	m_ImageSetName	0	""
05	m_ImageIndex	0
05	m_PatternIndex	0
05	m_TextFontIndex	2
05	m_TextFontSize	23
06	m_TextColor	4294967295
06	m_EdgeColor	2147483648
0b	m_UseEdge	1
05	m_AutoAlign	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
0b	m_Enabled	1
0a	m_Value	0.000000
0a	m_Max	0.000000
0a	m_Min	0.000000
0a	m_Change	0.000000
05	m_GroupID	0
05	m_ModuleID	0
1a	m_Text	0	""
1a	m_Label	0	""
05	m_AutoHelpTime	-1
1a	m_Descript	0	""
05	m_Width	0
05	m_Height	0
05	m_ClientLeft	0
05	m_ClientTop	0
05	m_ClientWidth	0
05	m_ClientHeight	0
05	m_ShapeType	0
0b	m_ModalFlag	0
05	m_ModalPriority	1
0b	m_TopMostFlag	0
05	m_ImageAlpha	255
05	m_EventState	0
05	m_HoverCount	0
06	m_EventReportFlags	4294967295
0b	m_EventBlockFlag	1
1a	m_ImageName	0	""
1a	m_ImageSetName	0	""
05	m_ImageIndex	0
05	m_PatternIndex	0
05	m_TextFontIndex	2
05	m_TextFontSize	23
06	m_TextColor	4294967295
06	m_EdgeColor	2147483648
0b	m_UseEdge	1
05	m_AutoAlign	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
0b	m_Enabled	1
0a	m_Value	0.000000
0a	m_Max	0.000000
0a	m_Min	0.000000
0a	m_Change	0.000000
05	m_GroupID	0
05	m_ModuleID	0
1a	m_Text	0	""
1a	m_Label	0	""
05	m_AutoHelpTime	-1
1a	m_Descript	0	""
05	m_Width	0
05	m_Height	0
05	m_ClientLeft	0
05	m_ClientTop	0
05	m_ClientWidth	0
05	m_ClientHeight	0
05	m_ShapeType	0
0b	m_ModalFlag	0
05	m_ModalPriority	1
0b	m_TopMostFlag	0
05	m_ImageAlpha	255
05	m_EventState	0
05	m_HoverCount	0
06	m_EventReportFlags	4294967295
0b	m_EventBlockFlag	1
1a	m_ImageName	0	""
1a	m_ImageSetName	0	""
05	m_ImageIndex	0
05	m_PatternIndex	0
05	m_TextFontIndex	2
05	m_TextFontSize	23
06	m_TextColor	4294967295
06	m_EdgeColor	2147483648
0b	m_UseEdge	1
05	m_AutoAlign	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
0b	m_Enabled	1
0a	m_Value	0.000000
0a	m_Max	0.000000
0a	m_Min	0.000000
0a	m_Change	0.000000
05	m_GroupID	0
05	m_ModuleID	0
1a	m_Text	0	""
1a	m_Label	0	""
05	m_AutoHelpTime	-1
1a	m_Descript	0	""
05	m_Width	0
05	m_Height	0
05	m_ClientLeft	0
05	m_ClientTop	0
05	m_ClientWidth	0
05	m_ClientHeight	0
05	m_ShapeType	0
0b	m_ModalFlag	0
05	m_ModalPriority	1
0b	m_TopMostFlag	0
05	m_ImageAlpha	255
05	m_EventState	0
05	m_HoverCount	0
06	m_EventReportFlags	4294967295
0b	m_EventBlockFlag	1
1a	m_ImageName	0	""
1a	m_ImageSetName	0	""
05	m_ImageIndex	0
05	m_PatternIndex	0
05	m_TextFontIndex	2
05	m_TextFontSize	23
06	m_TextColor	4294967295
06	m_EdgeColor	2147483648
0b	m_UseEdge	1
05	m_AutoAlign	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
0b	m_Enabled	1
0a	m_Value	0.000000
0a	m_Max	0.000000
0a	m_Min	0.000000
0a	m_Change	0.000000
05	m_GroupID	0
05	m_ModuleID	0
1a	m_Text	0	""
1a	m_Label	0	""
05	m_AutoHelpTime	-1
1a	m_Descript	0	""
05	m_Width	0
05	m_Height	0
05	m_ClientLeft	0
05	m_ClientTop	0
05	m_ClientWidth	0
05	m_ClientHeight	0
05	m_ShapeType	0
0b	m_ModalFlag	0
05	m_ModalPriority	1
0b	m_TopMostFlag	0
05	m_ImageAlpha	255
05	m_EventState	0
05	m_HoverCount	0
06	m_EventReportFlags	4294967295
0b	m_EventBlockFlag	1
1a	m_ImageName	0	""
1a	m_ImageSetName	0	""
05	m_ImageIndex	0
05	m_PatternIndex	0
05	m_TextFontIndex	2
05	m_TextFontSize	23
06	m_TextColor	4294967295
06	m_EdgeColor	2147483648
0b	m_UseEdge	1
05	m_AutoAlign	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
0b	m_Enabled	1
0a	m_Value	0.000000
0a	m_Max	0.000000
0a	m_Min	0.000000
0a	m_Change	0.000000
05	m_GroupID	0
05	m_ModuleID	0
1a	m_Text	0	""
1a	m_Label	0	""
05	m_AutoHelpTime	-1
1a	m_Descript	0	""
05	m_Width	0
05	m_Height	0
05	m_ClientLeft	0
05	m_ClientTop	0
05	m_ClientWidth	0
05	m_ClientHeight	0
05	m_ShapeType	0
0b	m_ModalFlag	0
05	m_ModalPriority	1
0b	m_TopMostFlag	0
05	m_ImageAlpha	255
05	m_EventState	0
05	m_HoverCount	0
06	m_EventReportFlags	4294967295
0b	m_EventBlockFlag	1
1a	m_ImageName	0	""
1a	m_ImageSetName	0	""
05	m_ImageIndex	0
05	m_PatternIndex	0
05	m_TextFontIndex	2
05	m_TextFontSize	23
06	m_TextColor	4294967295
06	m_EdgeColor	2147483648
0b	m_UseEdge	1
05	m_AutoAlign	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
0b	m_Enabled	1
0a	m_Value	0.000000
0a	m_Max	0.000000
0a	m_Min	0.000000
0a	m_Change	0.000000
05	m_GroupID	0
05	m_ModuleID	0
1a	m_Text	0	""
1a	m_Label	0	""
05	m_AutoHelpTime	-1
1a	m_Descript	0	""
05	m_Width	0
05	m_Height	0
05	m_ClientLeft	0
05	m_ClientTop	0
05	m_ClientWidth	0
05	m_ClientHeight	0
05	m_ShapeType	0
0b	m_ModalFlag	0
05	m_ModalPriority	1
0b	m_TopMostFlag	0
05	m_ImageAlpha	255
05	m_EventState	0
05	m_HoverCount	0
06	m_EventReportFlags	4294967295
0b	m_EventBlockFlag	1
1a	m_ImageName	0	""
1a	m_ImageSetName	0	""
05	m_ImageIndex	0
05	m_PatternIndex	0
05	m_TextFontIndex	2
05	m_TextFontSize	23
06	m_TextColor	4294967295
06	m_EdgeColor	2147483648
0b	m_UseEdge	1
05	m_AutoAlign	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
0b	m_Enabled	1
0a	m_Value	0.000000
0a	m_Max	0.000000
0a	m_Min	0.000000
0a	m_Change	0.000000
05	m_GroupID	0
05	m_ModuleID	0
1a	m_Text	0	""
1a	m_Label	0	""
05	m_AutoHelpTime	-1
1a	m_Descript	0	""
05	m_Width	0
05	m_Height	0
05	m_ClientLeft	0
05	m_ClientTop	0
05	m_ClientWidth	0
05	m_ClientHeight	0
05	m_ShapeType	0
0b	m_ModalFlag	0
05	m_ModalPriority	1
0b	m_TopMostFlag	0
05	m_ImageAlpha	255
05	m_EventState	0
05	m_HoverCount	0
06	m_EventReportFlags	4294967295
0b	m_EventBlockFlag	1
1a	m_ImageName	0	""
1a	m_ImageSetName	0	""
05	m_ImageIndex	0
05	m_PatternIndex	0
05	m_TextFontIndex	2
05	m_TextFontSize	23
06	m_TextColor	4294967295
06	m_EdgeColor	2147483648
0b	m_UseEdge	1
05	m_AutoAlign	1
06	m_GlobalState	1
07	m_TaskID	0
0b	m_Visible	1
09	m_OrderZ	1000.000000
05	m_Alpha	255
10	m_Color0	1.000000	1.000000	1.000000	1.000000
10	m_Color1	0.000000	0.000000	0.000000	0.000000
0d	m_Pos	0.000000	0.000000	0.000000
0d	m_Scale	1.000000	1.000000	1.000000
0d	m_Rot	0.000000	0.000000	0.000000
0d	m_CenterPos	0.000000	0.000000	0.000000
0c	m_UVOffset	0.000000	0.000000
0d	m_ShakeOffsetPos	0.000000	0.000000	0.000000
05	m_BlendMode	2
20	m_ActionList		0	{
21	}
20	m_ActionList		0	{
21	}
0b	m_ActionPause	0
0b	m_Enabled	1
0a	m_Value	0.000000
0a	m_Max	0.000000
0a	m_Min	0.000000
0a	m_Change	0.000000
05	m_GroupID	0
05	m_ModuleID	0
1a	m_Text	0	""
1a	m_Label	0	""
05	m_AutoHelpTime	-1
1a	m_Descript	0	""
05	m_Width	0
05	m_Height	0
05	m_ClientLeft	0
05	m_ClientTop	0
05	m_ClientWidth	0
05	m_ClientHeight	0
05	m_ShapeType	0
0b	m_ModalFlag	0
05	m_ModalPriority	1
0b	m_TopMostFlag	0
05	m_ImageAlpha	255
05	m_EventState	0
05	m_HoverCount	0
06	m_EventReportFlags	4294967295
0b	m_EventBlockFlag	1
1a	m_ImageName	0	""
1a	m_ImageSetName	0	""
05	m_ImageIndex	0
05	m_PatternIndex	0
05	m_TextFontIndex	2
05	m_TextFontSize	23
06	m_TextColor	4294967295
06	m_EdgeColor	2147483648
0b	m_UseEdge	1
05	m_AutoAlign	1
21	}
