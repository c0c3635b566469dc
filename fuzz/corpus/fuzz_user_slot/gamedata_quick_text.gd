TGD	100
1a	m_SaveTime	19	"2026/01/01 00:00:00"
1a	m_GameDataTitle	4	"seed"
1a	m_RestoreSequence	10	"SeqAvgMain"
1a	m_RestoreSubParam	0	""
0b	m_IsSelecting	0
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
20	GxMessageLogElement		0	{
21	}
0b	m_HideWindowByCommandFlag	0
05	m_VariablesSize	0
05	m_VariablesSize	0
05	m_pScriptEntitySize	0
1a	m_Name	11	"MAIN_WORKER"
20	m_ExecStack		0	{
21	}
20	m_ValueStack		0	{
21	}
06	m_ValueType	254
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
06	m_GlobalState	1
07	m_TaskID	0
06	m_GlobalState	1
07	m_TaskID	0
06	m_GlobalState	1
07	m_TaskID	0
06	m_GlobalState	1
07	m_TaskID	0
06	m_GlobalState	1
07	m_TaskID	0
06	m_GlobalState	1
07	m_TaskID	0
20	StandLayers		0	{
21	}
06	m_GlobalState	1
07	m_TaskID	0
06	m_GlobalState	1
07	m_TaskID	0
06	m_GlobalState	1
07	m_TaskID	0
20	SelectButtons		1	{
21	}
