' Command 120 through Ravelin, the way a VBScript client sends it: open the
' logical port, run the one command line, close. Prints the answer and, last,
' "MAIL OK" or "MAIL FAILED".
'   cscript //nologo mail_closure.vbs PORT "COMMAND LINE"
Option Explicit

Const Pidx_LogicalPort = 10

' Ravelin calls these; the closure mail raises none of them.
Class RegisterEvents
  Public Sub SODataX(Ecr, Text)
  End Sub
  Public Sub SODataY(Ecr, Text)
  End Sub
  Public Sub SOFileExtEnq(Ecr, Status, Code, Quantity, ReplyCode, ReplyText)
  End Sub
  Public Sub SOFileExtUpd(Ecr, Status, Code, Value1, Value2)
  End Sub
  Public Sub SOInteract(Ecr, Text)
  End Sub
  Public Sub SOProgressCtrl(Ecr, Counter, Percent, Text, Abort)
  End Sub
  Public Sub SOCommandComplete(Ecr, Answer, Result)
  End Sub
  Public Sub SOProcessID()
  End Sub
  Public Sub SOStatusChange(Value, Zero, Detail, Text)
  End Sub
End Class

Dim ecr, rc, answer
Set ecr = CreateObject("Ravelin.TallisInterface")
ecr.SetPropertyNumber Pidx_LogicalPort, CLng(WScript.Arguments(0))
rc = ecr.OpenService(New RegisterEvents)
If rc <> 0 Then
  WScript.Echo "MAIL FAILED OpenService " & rc
  WScript.Quit 1
End If
answer = ""
rc = ecr.EcrCmd(WScript.Arguments(1), answer)
WScript.Echo "EcrCmd: " & rc & " " & answer
ecr.Close
If rc = 0 And answer = "OK" Then
  WScript.Echo "MAIL OK"
Else
  WScript.Echo "MAIL FAILED"
End If
