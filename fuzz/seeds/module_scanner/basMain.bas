Attribute VB_Name = "basMain"
Option Explicit

'************************************************
' 名称：Main
' 概要：アプリケーションの開始点
'************************************************
Public Sub Main()
    frmMain.Show
End Sub

'在庫を追加し、追加後の数量を返す
'  strCode : 商品コード
'  lngQty  : 数量
Public Function AddStock(ByVal strCode As String, _
                         ByVal lngQty As Long) As Long
    ' 数量を加算する
    AddStock = lngQty
End Function

''内部用：一覧を再表示する
Private Sub ShowStock()
End Sub
