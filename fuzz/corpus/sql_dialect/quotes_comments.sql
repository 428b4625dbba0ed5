SELECT a.ContID, [Group] FROM Contacts AS a WHERE [Group] = "O'Brien ""Bob""" -- note ?
AND a.ContID IN (SELECT fkContID FROM CAddress WHERE City LIKE 'Spr*' /* ? */)