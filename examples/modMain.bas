Attribute VB_Name = "modMain"
Option Explicit

' アプリケーション全体で使う定数
Public Const APP_TITLE As String = "顧客登録"

' 件数（どこからも使われていない）
Private mlngCount As Long

' 起動時の処理
Public Sub Main()
    frmMain.Show
End Sub

' 入力された文字列の前後の空白を除く
Public Function CleanText(ByVal strText As String) As String
    CleanText = Trim$(strText)
End Function

' 以前の版の名残（どこからも呼ばれていない）
Private Sub ShowVersion()
    MsgBox "バージョン " & App.Major & "." & App.Minor, vbInformation, APP_TITLE
End Sub
