' The demo's client: what a point-of-sale program does with Ravelin over a
' shop's day. It opens a logical port, reads configuration values, sets the
' folder the commands' output files go to, then runs the day's lines from a
' file and receives a data-collection line the register sends.
'
'   cscript //nologo session.vbs PORT DAY-FILE OUTPUT-FOLDER
'
' The day file holds one command line a line, and two kinds of marker:
' "STEP name" starts a step (echoed for the caller), "WAIT EVENT" prints
' "waiting for a register event" and waits for one. Each command prints
' "EcrCmd "LINE": RESULT ANSWER"; a failed command does not stop the day,
' the caller judges each step. The script ends with "SESSION OK", or
' "SESSION FAILED" and the step (Wine's cscript exits 0 on a run-time error,
' so the caller looks for the summary line).
Option Explicit

Const Pidx_EventMask = 1
Const Pidx_LastResult = 9
Const Pidx_LogicalPort = 10
Const Pidx_CurrentDir = 1000002
Const emDataX = 1
Const emFileExtEnq = 4
Const ExtReplyNotFound = 2
Const ForReading = 1

Class RegisterEvents
  Public DataLines

  Private Sub Class_Initialize()
    DataLines = 0
  End Sub

  Public Sub SODataX(Ecr, Text)
    WScript.Echo "event SODataX from register " & Ecr & ": " & Text
    DataLines = DataLines + 1
  End Sub

  Public Sub SOFileExtEnq(Ecr, Status, Code, Quantity, ReplyCode, ReplyText)
    ReplyCode = ExtReplyNotFound
    ReplyText = ""
  End Sub

  Public Sub SOInteract(Ecr, Text)
  End Sub
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

Sub Fail(stepName, detail)
  WScript.Echo "SESSION FAILED " & stepName & ": " & detail
  WScript.Quit 1
End Sub

' Events arrive while the script talks to the server (Wine's cscript has no
' WScript.Sleep), so waiting is polling a cheap property.
Function WaitForDataLine(seconds)
  Dim started
  started = Timer
  Do While events.DataLines = 0 And Abs(Timer - started) < seconds
    ecr.GetPropertyNumber Pidx_EventMask
  Loop
  WaitForDataLine = events.DataLines > 0
End Function

Sub ShowValue(item, label)
  Dim value
  value = ecr.EcrConfVal(item)
  WScript.Echo "EcrConfVal " & item & " (" & label & "): " & value
  If value < 0 Then Fail "EcrConfVal " & item, value
End Sub

Sub ShowText(item, label)
  Dim text
  text = ecr.EcrConfStr(item)
  WScript.Echo "EcrConfStr " & item & " (" & label & "): """ & text & """"
  If Len(text) = 0 Then Fail "EcrConfStr " & item, "empty"
End Sub

Sub RunLine(line)
  Dim rc, answer
  answer = ""
  rc = ecr.EcrCmd(line, answer)
  WScript.Echo "EcrCmd """ & line & """: " & rc & " " & answer
End Sub

Sub RunDay(path)
  Dim fso, day, line
  Set fso = CreateObject("Scripting.FileSystemObject")
  Set day = fso.OpenTextFile(path, ForReading)
  Do Until day.AtEndOfStream
    line = day.ReadLine
    If Left(line, 5) = "STEP " Then
      WScript.Echo line
    ElseIf line = "WAIT EVENT" Then
      WScript.Echo "waiting for a register event"
      If Not WaitForDataLine(15) Then WScript.Echo "no register event within 15 s"
    ElseIf Len(line) > 0 Then
      RunLine line
    End If
  Loop
  day.Close
End Sub

Dim port, ecr, events, rc
If WScript.Arguments.Count <> 3 Then Fail "arguments", "usage: session.vbs PORT DAY-FILE OUTPUT-FOLDER"
port = CLng(WScript.Arguments(0))

Set ecr = CreateObject("Ravelin.TallisInterface")
Set events = New RegisterEvents

ecr.SetPropertyNumber Pidx_LogicalPort, port
rc = ecr.OpenService(events)
WScript.Echo "OpenService on logical port " & port & ": " & rc
If rc <> 0 Then Fail "OpenService", rc
ecr.SetPropertyNumber Pidx_EventMask, emDataX Or emFileExtEnq

ShowValue 10, "register number"
ShowValue 12, "print width"
ShowValue 14, "amount bytes"
ShowText 1, "register identifier"
ShowText 2, "model code"

' The commands' output files go to the server's current folder.
ecr.SetPropertyString Pidx_CurrentDir, WScript.Arguments(2)
rc = ecr.GetPropertyNumber(Pidx_LastResult)
WScript.Echo "SetPropertyString CurrentDir " & WScript.Arguments(2) & ": " & rc
If rc <> 0 Then Fail "SetPropertyString CurrentDir", rc

RunDay WScript.Arguments(1)

rc = ecr.Close()
WScript.Echo "Close: " & rc
If rc <> 0 Then Fail "Close", rc
WScript.Echo "SESSION OK"
