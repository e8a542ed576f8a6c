VERSION 5.00
Begin VB.Form frmMain 
   BorderStyle     =   3  'Fixed Dialog
   Caption         =   "å⁄ãqìoò^"
   ClientHeight    =   3090
   ClientLeft      =   45
   ClientTop       =   330
   ClientWidth     =   4680
   BeginProperty Font 
      Name            =   "ÇlÇr ÇoÉSÉVÉbÉN"
      Size            =   9
      Charset         =   128
      Weight          =   400
      Underline       =   0   'False
      Italic          =   0   'False
      Strikethrough   =   0   'False
   EndProperty
   LinkTopic       =   "Form1"
   MaxButton       =   0   'False
   MinButton       =   0   'False
   ScaleHeight     =   3090
   ScaleWidth      =   4680
   ShowInTaskbar   =   0   'False
   StartUpPosition =   2  'CenterScreen
   Begin VB.CommandButton cmdCancel 
      Cancel          =   -1  'True
      Caption         =   "ï¬Ç∂ÇÈ"
      Height          =   375
      Left            =   3240
      TabIndex        =   8
      ToolTipText     =   "âÊñ Çï¬Ç∂Ç‹Ç∑"
      Top             =   2520
      Width           =   1215
   End
   Begin VB.CommandButton cmdOK 
      Caption         =   "ìoò^"
      Default         =   -1  'True
      Height          =   375
      Left            =   1920
      TabIndex        =   7
      Top             =   2520
      Width           =   1215
   End
   Begin VB.Frame Frame1 
      Caption         =   "ãÊï™"
      Height          =   855
      Left            =   240
      TabIndex        =   4
      Top             =   1440
      Width           =   4215
      Begin VB.OptionButton optKind 
         Caption         =   "ñ@êl"
         Height          =   255
         Index           =   1
         Left            =   1800
         TabIndex        =   6
         Top             =   360
         Width           =   1335
      End
      Begin VB.OptionButton optKind 
         Caption         =   "å¬êl"
         Height          =   255
         Index           =   0
         Left            =   240
         TabIndex        =   5
         Top             =   360
         Value           =   -1  'True
         Width           =   1335
      End
   End
   Begin VB.TextBox txtField 
      Height          =   270
      Index           =   1
      Left            =   1320
      TabIndex        =   3
      Top             =   840
      Width           =   3135
   End
   Begin VB.TextBox txtField 
      Height          =   270
      Index           =   0
      Left            =   1320
      TabIndex        =   1
      Top             =   240
      Width           =   3135
   End
   Begin VB.Label lblKana 
      Caption         =   "ÉtÉäÉKÉi"
      Height          =   255
      Left            =   240
      TabIndex        =   2
      Top             =   870
      Width           =   975
   End
   Begin VB.Label lblName 
      Caption         =   "éÅñº"
      Height          =   255
      Left            =   240
      TabIndex        =   0
      Top             =   270
      Width           =   975
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

' ì¸óÕì‡óeÇå⁄ãqÇ∆ÇµÇƒìoò^Ç∑ÇÈ
Private Sub cmdOK_Click()
    Dim objCustomer As clsCustomer
    Dim strMessage As String

    If CleanText(txtField(0).Text) = "" Then
        MsgBox "éÅñºÇì¸óÕÇµÇƒÇ≠ÇæÇ≥Ç¢", vbExclamation, APP_TITLE
        txtField(0).SetFocus
        Exit Sub
    End If

    Set objCustomer = New clsCustomer
    objCustomer.CustomerName = txtField(0).Text
    If optKind(1).Value Then objCustomer.Kind = 1
    MsgBox objCustomer.DisplayName & " Çìoò^ÇµÇ‹ÇµÇΩ", vbInformation, APP_TITLE
    Set objCustomer = Nothing
End Sub

Private Sub cmdCancel_Click()
    Unload Me
End Sub

Private Sub txtField_GotFocus(Index As Integer)
    txtField(Index).SelStart = 0
    txtField(Index).SelLength = Len(txtField(Index).Text)
End Sub
