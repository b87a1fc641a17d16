' A short point-of-sale session with Ravelin, the way a VBScript client
' writes one: open a logical port, run a command line, read a configuration
' value, receive a data-collection line from the register, close.
'
'   cscript //nologo session.vbs [logical port]
'
' The events arrive as calls on the methods of the object given to
' OpenService; it must have every method below (SOStatusChange may be left
' out). The last line printed is "SESSION OK" or "SESSION FAILED" and why.
Option Explicit

Const Pidx_EventMask = 1
Const Pidx_LogicalPort = 10
Const emDataX = 1
Const emFileExtEnq = 4
Const ExtReplyNotFound = 2

Class RegisterEvents
  Public DataLines

  Private Sub Class_Initialize()
    DataLines = 0
  End Sub

  ' A data-collection line: what the register printed or captured.
  Public Sub SODataX(Ecr, Text)
    WScript.Echo "SODataX register " & Ecr & ": " & Text
    DataLines = DataLines + 1
  End Sub

  ' The register asks for an article it does not know: answer through the
  ' last two arguments (here: not found).
  Public Sub SOFileExtEnq(Ecr, Status, Code, Quantity, ReplyCode, ReplyText)
    ReplyCode = ExtReplyNotFound
    ReplyText = ""
  End Sub

  ' Interactivity: change Text to answer the register.
  Public Sub SOInteract(Ecr, Text)
  End Sub

  ' Set Abort to 1 to stop a long operation.
  Public Sub SOProgressCtrl(Ecr, Counter, Percent, Text, Abort)
  End Sub

  Public Sub SODataY(Ecr, Text)
  End Sub
  Public Sub SOFileExtUpd(Ecr, Status, Code, Value1, Value2)
  End Sub
  Public Sub SOCommandComplete(Ecr, Answer, Result)
  End Sub
  Public Sub SOProcessID()
  End Sub
  Public Sub SOStatusChange(Value, Zero, Detail, Text)
  End Sub
End Class

' Events are delivered while the script talks to the server, so waiting is
' polling it, with a short sleep where the script host has one (Wine's
' cscript has none).
Function WaitForDataLine(seconds)
  Dim started
  started = Timer
  Do While events.DataLines = 0 And Abs(Timer - started) < seconds
    ecr.GetPropertyNumber Pidx_EventMask
    Pause
  Loop
  WaitForDataLine = events.DataLines > 0
End Function

Sub Pause()
  On Error Resume Next
  WScript.Sleep 50
  On Error GoTo 0
End Sub

Sub Fail(stepName, code)
  WScript.Echo "SESSION FAILED " & stepName & " " & code
  WScript.Quit 1
End Sub

Dim port, ecr, events, rc, answer, line
port = 1
If WScript.Arguments.Count > 0 Then port = CLng(WScript.Arguments(0))

Set ecr = CreateObject("Ravelin.TallisInterface")
Set events = New RegisterEvents

ecr.SetPropertyNumber Pidx_LogicalPort, port
rc = ecr.OpenService(events)
If rc <> 0 Then Fail "OpenService", rc
ecr.SetPropertyNumber Pidx_EventMask, emDataX Or emFileExtEnq

answer = ""
rc = ecr.EcrCmd("NULLA", answer)
WScript.Echo "EcrCmd NULLA: " & rc & " " & answer
If rc <> 0 Then Fail "EcrCmd", rc

' A receipt: two articles and a cash payment, which the register prints.
For Each line In Array("VENDITA REPARTO=1, PREZZO=2.50, QUANTITA=2, DESCRIZ='PANE'", _
                       "VENDITA REPARTO=2, PREZZO=1.20, DESCRIZ='LATTE'", _
                       "PAGA IMPORTO=10")
  answer = ""
  rc = ecr.EcrCmd(line, answer)
  WScript.Echo "EcrCmd " & line & ": " & rc & " " & answer
  If rc <> 0 Then Fail "EcrCmd", rc
Next

rc = ecr.EcrConfVal(12)
WScript.Echo "EcrConfVal 12 (print width): " & rc
If rc <= 0 Then Fail "EcrConfVal", rc

If Not WaitForDataLine(10) Then Fail "SODataX", "no line within 10 s"

rc = ecr.Close()
If rc <> 0 Then Fail "Close", rc
WScript.Echo "SESSION OK"
