' One command line through Ravelin: open a logical port, run the line, close.
' Prints "EcrCmd: " with the result code and the answer text, and ends with
' the result code (0 for success).
'
'   cscript //nologo command_line.vbs PORT "COMMAND LINE"
'
' For instance the receipt picture by mail (command 75, see the README):
'   cscript //nologo command_line.vbs 1 "#75 #3, #4='user', #5='password', #6='till@example.com', #7='office@example.com', #12='+390550000'"
Option Explicit

Const Pidx_LogicalPort = 10

' Ravelin calls these on the client; a single command line raises none of them.
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
If rc = 0 Then
  answer = ""
  rc = ecr.EcrCmd(WScript.Arguments(1), answer)
  WScript.Echo "EcrCmd: " & rc & " " & answer
  ecr.Close
Else
  WScript.Echo "OpenService: " & rc
End If
' The server is let go before the script ends: Wine's cscript waits forever
' when WScript.Quit meets a live server object.
Set ecr = Nothing
If rc <> 0 Then WScript.Quit rc
