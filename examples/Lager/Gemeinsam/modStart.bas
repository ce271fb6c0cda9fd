Attribute VB_Name = "modStart"
' Склад (Lager)
Public Sub Main()
    Dim oben As ComCtl2.UpDown
End Sub
