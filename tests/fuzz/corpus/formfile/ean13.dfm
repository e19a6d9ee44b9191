object BarCode1: TBarCode
  Left = 8
  Width = 200
  BarType = bcCodeEAN13
  BarCode = '590123412345'
  Color = clWhite
  TextShow = tsBoth
end
