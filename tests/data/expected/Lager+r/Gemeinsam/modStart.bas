Attribute VB_Name = "modStart"
' Склад (Lager)
Public Sub Main()
    Dim oben As MSComCtl2.UpDown
End Sub
