object BarCode2: TBarCode
  BarCode = 'It''s #1'
  Modul = 2
  Ratio = 2.75
  ColorBar = $00030201
  Orientation = toBottomTop
  Font.Style = [fsBold, fsUnderline]
end
object BarCode1: TBarCode
  BarType = bcCode128B
end
