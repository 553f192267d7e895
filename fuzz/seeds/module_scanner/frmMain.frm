VERSION 5.00
Begin VB.Form frmMain 
   Caption         =   "在庫管理"
   ClientHeight    =   3195
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   4680
   LinkTopic       =   "Form1"
   ScaleHeight     =   3195
   ScaleWidth      =   4680
   StartUpPosition =   3  'Windows の既定値
   Begin VB.CommandButton cmdAdd 
      Caption         =   "追加"
      Height          =   375
      Left            =   240
      TabIndex        =   0
      Top             =   240
      Width           =   1215
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

'フォームの読み込み時に在庫一覧を表示する
Private Sub Form_Load()
    ' 一覧を初期化する
    Call ShowStock
End Sub

'追加ボタン
Private Sub cmdAdd_Click()
    Dim lngCount As Long
    lngCount = AddStock("A-001", 10) ' 10 個入庫
End Sub
