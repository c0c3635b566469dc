#include "task/GxUIListenerBase.h"

bool GxUIListenerBase::CallUIEvent(const GxUIEvent& event, int32_t& result)
{
    switch (event.code)
    {
    case 1:
        result = OnUIEvent1(event.sender, event);
        return true;
    case 2:
        result = OnUIEvent2(event.sender, event);
        return true;
    case 3:
        result = OnUIEvent3(event.sender, event);
        return true;
    case 4:
        result = OnUIEvent4(event.sender, event);
        return true;
    case 5:
        result = OnUIEvent5(event.sender, event);
        return true;
    case 6:
        result = OnUIEvent6(event.sender, event);
        return true;
    case 7:
        result = OnUIEvent7(event.sender, event);
        return true;
    case 8:
        result = OnUIEvent8(event.sender, event);
        return true;
    case 9:
        result = OnUIEvent9(event.sender, event);
        return true;
    case 10:
        result = OnUIEvent10(event.sender, event);
        return true;
    case 12:
        result = OnUIEvent12(event.sender, event);
        return true;
    case 13:
        result = OnUIEvent13(event.sender, event);
        return true;
    case 15:
        result = OnUIEvent15(event.sender, event);
        return true;
    case 16:
        result = OnUIEvent16(event.sender, event);
        return true;
    case 18:
        result = OnUIEvent18(event.sender, event);
        return true;
    case 19:
        result = OnUIEvent19(event.sender, event);
        return true;
    case 20:
        result = OnUIEvent20(event.sender, event);
        return true;
    case 22:
        result = OnUIEvent22(event.sender, event);
        return true;
    case 23:
        result = OnUIEvent23(event.sender, event);
        return true;
    case 24:
        result = OnUIEvent24(event.sender, event);
        return true;
    default:
        return false;
    }
}
