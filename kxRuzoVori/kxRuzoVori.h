// Everything a host may use, in one include.
#ifndef KXRUZOVORI_KXRUZOVORI_H
#define KXRUZOVORI_KXRUZOVORI_H

#include "kxRuzoVori/kxExport.h"

#include "kxRuzoVori/core/kxAuiToolbarException.h"
#include "kxRuzoVori/core/kxEventHandler.h"
#include "kxRuzoVori/core/kxEventable.h"
#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/core/kxInt.h"
#include "kxRuzoVori/core/kxParams.h"
#include "kxRuzoVori/core/kxSettingControlException.h"
#include "kxRuzoVori/core/kxSettingsException.h"
#include "kxRuzoVori/core/kxString.h"
#include "kxRuzoVori/core/kxTaskBarIconException.h"
#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/core/kxTreeComboCheckBoxException.h"

#include "kxRuzoVori/controls/kxAuiToolbar.h"
#include "kxRuzoVori/controls/kxMakeDisabledBitmap.h"
#include "kxRuzoVori/controls/kxSplashScreen.h"
#include "kxRuzoVori/controls/kxTaskBarIcon.h"
#include "kxRuzoVori/controls/kxTreeComboCheckBox.h"
#include "kxRuzoVori/controls/kxTreeComboPopup.h"
#include "kxRuzoVori/controls/kxTreeControl.h"
#include "kxRuzoVori/controls/wxHyperlinkCtrl.h"
#include "kxRuzoVori/controls/wxHyperlinkEvent.h"
#include "kxRuzoVori/controls/wxPleaseWaitDlg.h"

#include "kxRuzoVori/ipc/kxClient.h"
#include "kxRuzoVori/ipc/kxServer.h"

#include "kxRuzoVori/kxHelpers/kxEncoding.h"
#include "kxRuzoVori/kxHelpers/kxProcess.h"
#include "kxRuzoVori/kxHelpers/kxServerSocket.h"
#include "kxRuzoVori/kxHelpers/kxShell.h"
#include "kxRuzoVori/kxHelpers/kxSocket.h"
#include "kxRuzoVori/kxHelpers/natsort/strnatcmp.h"

#include "kxRuzoVori/locale/kxLocale.h"
#include "kxRuzoVori/locale/kxLogString.h"
#include "kxRuzoVori/locale/kxMessages.h"

#include "kxRuzoVori/mail/Exception.h"
#include "kxRuzoVori/mail/Mail.h"
#include "kxRuzoVori/mail/Options.h"
#include "kxRuzoVori/mail/Smtp.h"

#include "kxRuzoVori/crash/guiCrashReportDlg.h"
#include "kxRuzoVori/crash/kxCrashReportDlg.h"
#include "kxRuzoVori/crash/kxHalt.h"
#include "kxRuzoVori/crash/kxSendEmail.h"

#include "kxRuzoVori/cipher/kxCypher.h"
#include "kxRuzoVori/cipher/wxTripleDES.h"

#include "kxRuzoVori/settings/kxSettingCheckBox.h"
#include "kxRuzoVori/settings/kxSettingComboBox.h"
#include "kxRuzoVori/settings/kxSettingControl.h"
#include "kxRuzoVori/settings/kxSettingEditBox.h"
#include "kxRuzoVori/settings/kxSettings.h"
#include "kxRuzoVori/settings/kxSettingsGroup.h"
#include "kxRuzoVori/settings/kxSettingsItem.h"
#include "kxRuzoVori/settings/kxSettingsSet.h"

#include "kxRuzoVori/json/wxJSONReader.h"
#include "kxRuzoVori/json/wxJSONRefData.h"
#include "kxRuzoVori/json/wxJSONValue.h"
#include "kxRuzoVori/json/wxJSONWriter.h"

#include "kxRuzoVori/serialize/wxSerialize.h"

#include "kxRuzoVori/http/wxAuthenticateDlg.h"
#include "kxRuzoVori/http/wxHTTPAuthSettings.h"
#include "kxRuzoVori/http/wxHTTPBuilder.h"
#include "kxRuzoVori/http/wxHTTPBuilderEvent.h"
#include "kxRuzoVori/http/wxHTTPBuilderStream.h"
#include "kxRuzoVori/http/wxHTTPBuilderThread.h"
#include "kxRuzoVori/http/wxHTTPBuilderThreadObj.h"
#include "kxRuzoVori/http/wxProxySettings.h"
#include "kxRuzoVori/http/wxProxySettingsDlg.h"

#endif
